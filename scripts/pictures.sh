#!/usr/bin/env bash
# Draws the README's screenshot and the icons (48, 128 and 256 pixels) with the viewer's own
# frame at a fixed orientation, on a private X server. Usage: pictures.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=${1:-build-tools}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/xvfb.sh" "$build/tools/pictures" "$work/screenshot.ppm" "$work/icon.ppm"
# -strip: no time stamps, so that the same picture gives the same bytes.
convert "$work/screenshot.ppm" -strip "$top/docs/vexo.png"
echo "$top/docs/vexo.png"
# The die alone, its grey surround made transparent, centred in a square with a small margin.
for size in 48 128 256; do
    mkdir -p "$top/data/icons/$size"
    convert "$work/icon.ppm" -fuzz 2% -transparent 'rgb(128,128,128)' -trim +repage \
        -resize $((size * 15 / 16))x$((size * 15 / 16)) -background none -gravity center \
        -extent "${size}x${size}" -strip "$top/data/icons/$size/vexo.png"
    echo "$top/data/icons/$size/vexo.png"
done
