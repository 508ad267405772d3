#!/usr/bin/env bash
# Starts the built viewer. With no reachable display it runs the viewer on a private X
# server instead, saves a screenshot of its window and prints that file's path.
set -euo pipefail
build=${1:-build}
exe=$(find "$build" -maxdepth 3 -type f -name vexo -perm -u+x | head -n 1)
[[ -n "$exe" ]] || { echo "no vexo executable under $build: build it first" >&2; exit 1; }

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    exec "$exe"
fi

echo "No display: running Vexo on a private X server for two seconds."
here=$(cd "$(dirname "$0")" && pwd)
"$here/xvfb.sh" "$here/screenshot.sh" "$exe" "$build/vexo.png" 2
