#!/usr/bin/env bash
# Runs the frame benchmark on the current display, or on a private X server when there is
# none, then the page's rates in headless Chromium, and prints one table with the machine and
# the renderer named. Usage: bench.sh BUILD_DIR WEB_BUILD_DIR
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

have_display || on_private_x "$@"

build=${1:-build-bench} web=${2:-build-web}
echo "bench: about two minutes; the tables follow." >&2
cpu=$(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo)"
echo "Renderer: $(glxinfo -B | awk -F': ' '/OpenGL renderer string/ {print $2}'), $(glxinfo -B | awk -F': ' '/OpenGL version string/ {print $2}')"
echo
"$build/bench/frame_bench" "$build/vexo"
echo
"$here/web.sh" bench "$web"
