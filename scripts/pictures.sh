#!/usr/bin/env bash
# Makes the README's screenshot and the desktop icon from the viewer itself, through the
# same headless path as `make run`. Usage: pictures.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=${1:-build}
exe=$("$here/vexo-path.sh" "$build")

"$here/xvfb.sh" "$here/screenshot.sh" "$exe" "$top/docs/vexo.png" 2
# The die alone, its grey surround made transparent, centred in a 128 x 128 square.
convert "$top/docs/vexo.png" -fuzz 2% -transparent 'rgb(128,128,128)' -trim +repage \
    -resize 120x120 -background none -gravity center -extent 128x128 "$top/data/vexo.png"
echo "$top/data/vexo.png"
