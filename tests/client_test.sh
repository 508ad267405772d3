#!/usr/bin/env bash
# The manipulator as a client takes it: installed alone to a prefix, every C snippet of the guide
# and the example built from that prefix with pkg-config (the example as C and as C++), with the
# CMake package and with add_subdirectory on a copy of the folder alone, warnings as errors. The
# guide's quick start run and seen to draw a lit teapot, its misuse snippet run; the old mode
# names neither in a client's way nor lost to it. Then the example driven: a Ctrl+Alt drag moves
# both parameters by gain per pixel, the change hook after each step, bounds that hold; the
# redisplay hook in GLUT's place; Escape's quit hook, then status 0.
# Usage: client_test.sh BUILD_DIR
# shellcheck source=../scripts/lib.sh
source "$(dirname "$0")/../scripts/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
warnings=(-Wall -Wextra -Werror -pedantic)

cmake --install "$build" --prefix "$work/prefix" --component manipulator >/dev/null
pc=$(dirname "$(find "$work/prefix" -name vexo-manipulator.pc)")
export PKG_CONFIG_PATH=$pc
grep -qx "prefix=$work/prefix" "$pc/vexo-manipulator.pc" || fail "the .pc file's prefix: $(head -n 1 "$pc/vexo-manipulator.pc")"
# shellcheck disable=SC2046  # pkg-config's flags, split on spaces
cc_pc() { cc -std=c99 "${warnings[@]}" "$@" $(pkg-config --cflags --libs vexo-manipulator); }
cc_pc "$top/examples/light.c" -o "$work/light-c" || fail "the example as C, with pkg-config"
# shellcheck disable=SC2046  # pkg-config's flags, split on spaces
c++ -x c++ -std=c++17 "${warnings[@]}" "$top/examples/light.c" -x none -o "$work/light-c++" \
    $(pkg-config --cflags --libs vexo-manipulator) || fail "the example as C++, with pkg-config"
# Every C snippet of the guide, as a reader would copy it: the quick start first.
awk -v dir="$work" '/^```c$/ { n++; inside = 1; next } /^```$/ { inside = 0 } inside { print > (dir "/snippet" n ".c") }' \
    "$top/docs/manipulator.md"
for snippet in "$work"/snippet*.c; do
    cc_pc "$snippet" -o "${snippet%.c}" || fail "the guide's ${snippet##*/}:"$'\n'"$(cat "$snippet")"
done
[[ $("$work/snippet2") == "0 0 1" ]] || fail "the guide's misuse snippet printed $("$work/snippet2")"
"$work/snippet3" || fail "the guide's snippet of the short names"
# A client's own mode names before the include, and the library's own after it.
printf '%s\n' 'enum { MODE_NONE, MODE_SHIFT };' '#define MODE_ALT 4' '#include <vexo/manipulator.h>' \
    'int main(void) { return manipModeFromMask(0) == MANIP_MODE_NONE ? MODE_NONE : MODE_ALT; }' >"$work/own.c"
cc_pc "$work/own.c" -o "$work/own" || fail "a client with its own MODE_ names"

# The quick start, run: a lit teapot, not a dark one.
"$work/snippet1" &
pid=$!
win=$("$top/scripts/vexo-window.sh" "$pid" 10 '^Quick start$') || fail "the quick start opened no window"
# Over a twentieth of the window bright, once the first frame is drawn.
lit() {
    share=$(xwd -silent -id "$win" | convert xwd:- -colorspace gray -threshold 40% -format '%[fx:mean]' info:)
    awk -v lit="$share" 'BEGIN { exit !(lit > 0.05) }'
}
wait_until 10 lit || fail "the quick start's teapot is not lit: $share of it is bright"
kill "$pid"

# The CMake package, and add_subdirectory on the folder alone from a project that found nothing;
# neither leaves OpenGL_GL_PREFERENCE behind.
mkdir -p "$work/sub/vexo"
cp -r "$top/manipulator" "$work/sub/vexo/"
cp "$work/snippet1.c" "$work/sub/quick.c"
for how in package subdirectory; do
    printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(client C)' \
        "if(\"$how\" STREQUAL package)" '  find_package(VexoManipulator 1.1 CONFIG REQUIRED)' 'else()' \
        '  add_subdirectory(vexo/manipulator)' 'endif()' \
        'if(DEFINED OpenGL_GL_PREFERENCE)' '  message(FATAL_ERROR "OpenGL_GL_PREFERENCE left set")' 'endif()' \
        'add_executable(quick quick.c)' 'target_link_libraries(quick PRIVATE Vexo::manipulator)' >"$work/sub/CMakeLists.txt"
    cmake -S "$work/sub" -B "$work/sub-$how" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >"$work/log" 2>&1 &&
        cmake --build "$work/sub-$how" >>"$work/log" 2>&1 || fail "the quick start with $how:"$'\n'"$(cat "$work/log")"
done
cmake -S "$top/examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_C_FLAGS="${warnings[*]}" >/dev/null || fail "the example's CMake project against the package"
cmake --build "$work/cmake" >/dev/null || fail "the example with the CMake package"

version=$(pkg-config --modversion vexo-manipulator)
for light in "$work/light-c" "$work/light-c++" "$work/cmake/light"; do
    name=${light#"$work"/}
    "$light" >"$work/out" &
    pid=$!
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
echo "the guide's snippets and the example built from the installed manipulator, the quick start lit, every hook as it should"
