#!/usr/bin/env bash
# Runs the frame benchmark on the current display, or on a private X server when there is
# none, then the page's rates in headless Chromium, and prints one table with the machine and
# the renderer named. When other work keeps the machine busy around the parts (more than a
# tenth of a core), the output says that its figures cannot be trusted.
# Usage: bench.sh BUILD_DIR WEB_BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

have_display || on_private_x "$@"

build=${1:-build-bench} web=${2:-build-web}
echo "bench: about two minutes; the tables follow." >&2
cpu=$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo)"
echo "Renderer: $(glxinfo -B | awk -F': ' '/OpenGL renderer string/ {print $2}'), $(glxinfo -B | awk -F': ' '/OpenGL version string/ {print $2}')"
echo

# The share of a core the machine spends busy over a second while the benchmark itself rests:
# other work, which would have taken turns with it. Sampled before, between and after the parts
# (what Chromium's processes use while the page is measured cannot be told apart from others').
unquiet=()
check_quiet() {
    local busy used
    busy=$(awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 + $9; exit }' /proc/stat)
    sleep 1
    used=$(awk -v before="$busy" -v hz="$(getconf CLK_TCK)" \
        '/^cpu / { printf "%.2f", ($2 + $3 + $4 + $7 + $8 + $9 - before) / hz; exit }' /proc/stat)
    echo "bench: $1, other work used $used of a core" >&2
    if awk -v used="$used" 'BEGIN { exit !(used > 0.1) }'; then unquiet+=("$1: $used of a core"); fi
}

check_quiet "before the desktop frames"
"$build/bench/frame_bench" "$build/vexo"
echo
check_quiet "between the desktop frames and the page"
"$here/web.sh" bench "$web"
check_quiet "after the page"
if [[ ${#unquiet[@]} -gt 0 ]]; then
    echo
    echo "Not a quiet machine, so these figures cannot be trusted: other work ran ($(IFS=';'; echo "${unquiet[*]}"))."
    echo "Run make bench again when nothing else runs."
fi
