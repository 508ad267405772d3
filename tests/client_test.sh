#!/usr/bin/env bash
# The manipulator as a client takes it: installed alone to a prefix, the guide's quick start and
# the example built from that prefix with pkg-config (the example as C and as C++) and with the
# CMake package, warnings as errors, then the example driven: a Ctrl+Alt drag moves both
# parameters by gain per pixel, the change hook after each step, bounds that hold; the redisplay
# hook in GLUT's place; Escape's quit hook, then status 0.
# Usage: client_test.sh BUILD_DIR
source "$(dirname "$0")/../scripts/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
warnings=(-Wall -Wextra -Werror -pedantic)

cmake --install "$build" --prefix "$work/prefix" --component manipulator >/dev/null
pc=$(dirname "$(find "$work/prefix" -name vexo-manipulator.pc)")
export PKG_CONFIG_PATH=$pc
cc -std=c99 "${warnings[@]}" "$top/examples/light.c" -o "$work/light-c" \
    $(pkg-config --cflags --libs vexo-manipulator) || fail "the example as C, with pkg-config"
c++ -x c++ -std=c++17 "${warnings[@]}" "$top/examples/light.c" -x none -o "$work/light-c++" \
    $(pkg-config --cflags --libs vexo-manipulator) || fail "the example as C++, with pkg-config"
# The quick start of the guide, as a reader would copy it.
awk '/^```c$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$top/docs/manipulator.md" >"$work/quick.c"
cc -std=c99 "${warnings[@]}" "$work/quick.c" -o "$work/quick" $(pkg-config --cflags --libs vexo-manipulator) ||
    fail "the guide's quick start"
cmake -S "$top/examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_C_FLAGS="${warnings[*]}" >/dev/null || fail "the example's CMake project against the package"
cmake --build "$work/cmake" >/dev/null || fail "the example with the CMake package"

version=$(pkg-config --modversion vexo-manipulator)
for light in "$work/light-c" "$work/light-c++" "$work/cmake/light"; do
    name=${light#"$work"/}
    "$light" >"$work/out" &
    pid=$!
    xdo() { timeout 10 xdotool "$@"; }
    win=$("$top/scripts/vexo-window.sh" "$pid" 5 '^Light$') || fail "$name opened no window"
    drag() { drag_in "$win" 150 150 "$@"; }  # MODIFIERS DX DY
    xdo windowfocus --sync "$win"
    drag shift 30 10
    [[ $(xdo getwindowname "$win") == "Light: view turned 10 30 0" ]] ||
        fail "$name: the redisplay hook did not title the turned view: $(xdo getwindowname "$win")"
    drag ctrl+alt 20 -10   # azimuth by 0.5 a pixel, elevation by -0.5
    drag ctrl+alt 400 -400 # both past their bounds, 90 and 80
    xdo key Escape
    wait_exit "$pid" 5
    [[ $exit_status -eq 0 ]] || fail "$name: Escape ended it with status $exit_status"
    expected="vexo-manipulator $version
light azimuth 30.0 elevation 30.0
light azimuth 32.0 elevation 31.0
light azimuth 34.0 elevation 32.0
light azimuth 36.0 elevation 33.0
light azimuth 38.0 elevation 34.0
light azimuth 40.0 elevation 35.0
light azimuth 80.0 elevation 75.0
light azimuth 90.0 elevation 80.0
light azimuth 90.0 elevation 80.0
light azimuth 90.0 elevation 80.0
light azimuth 90.0 elevation 80.0
quit with the light at azimuth 90.0 elevation 80.0"
    [[ $(cat "$work/out") == "$expected" ]] ||
        fail "$name printed:"$'\n'"$(cat "$work/out")"$'\n'"instead of:"$'\n'"$expected"
done
echo "the example built three ways from the installed manipulator, and every hook ran as it should"
