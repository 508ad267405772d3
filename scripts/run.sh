#!/usr/bin/env bash
# Starts the built viewer. With no reachable display it runs the viewer on a private X
# server instead, saves a screenshot of its window and prints that file's path.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
exe=$("$here/vexo-path.sh" "$build")

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    exec "$exe"
fi

echo "No display: running Vexo on a private X server for two seconds."
"$here/xvfb.sh" "$here/screenshot.sh" "$exe" "$build/vexo.png" 2
