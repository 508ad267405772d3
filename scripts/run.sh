#!/usr/bin/env bash
# Starts the built viewer. With no reachable display it runs the viewer on a private X
# server instead, saves a screenshot of its window and prints that file's path.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)

have_display && exec "$build/vexo"
echo "No display: running Vexo on a private X server for two seconds."
"$here/xvfb.sh" "$here/screenshot.sh" "$build/vexo" "$build/vexo.png" 2
