#!/usr/bin/env bash
# Draws the README's screenshot and the icons (48, 128 and 256 pixels for the desktop, 192
# and 512 for the page, and the page's maskable one) with the viewer's own frame at a fixed
# orientation, on a private X server. Usage: pictures.sh BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=${1:-build-tools}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The die turned by 140 spin steps from the start, to show three faces.
"$here/xvfb.sh" bash -c '"$1" "$2/screenshot.ppm" +140 && "$1" "$2/icon.ppm" 512x512 +140' \
    pictures "$build/tools/frames" "$work"
# -strip: no time stamps, so that the same picture gives the same bytes.
convert "$work/screenshot.ppm" -strip "$top/docs/vexo.png"
echo "$top/docs/vexo.png"
# The die alone, its grey surround made transparent, centred in a square with a small margin.
# The page's icons (192, 512, maskable) are a download: 256 colours with their alpha look the
# same at a third of the bytes.
for size in 48 128 192 256 512; do
    mkdir -p "$top/data/icons/$size"
    page=()
    [[ $size -lt 192 || $size -eq 256 ]] || page=(-colors 256)
    convert "$work/icon.ppm" -fuzz 2% -transparent "$(background_of "$work/icon.ppm")" -trim +repage \
        -resize $((size * 15 / 16))x$((size * 15 / 16)) -background none -gravity center \
        -extent "${size}x${size}" -strip "${page[@]}" "$top/data/icons/$size/vexo.png"
    echo "$top/data/icons/$size/vexo.png"
done
# Maskable: the die within the middle 60 %, on the page's grey to the edges, so that any
# mask a launcher cuts keeps it whole.
mkdir -p "$top/data/icons/maskable"
convert "$work/icon.ppm" -fuzz 2% -trim +repage -resize 307x307 -background "$(background_of "$work/icon.ppm")" \
    -gravity center -extent 512x512 -strip -colors 256 "$top/data/icons/maskable/vexo.png"
echo "$top/data/icons/maskable/vexo.png"

# The manipulator's example, its view turned and its light moved by drags as a person would.
"$here/xvfb.sh" bash -c '
    source "$3/lib.sh"
    "$1" >/dev/null &
    win=$("$3/vexo-window.sh" $! 5 "^Light$")
    drag_in "$win" 150 150 shift 30 20
    drag_in "$win" 150 150 ctrl+alt -100 -30
    sleep 0.5
    xwd -id "$win" -silent | convert xwd:- -strip "$2"
    kill %1' pictures "$build/examples/light" "$top/docs/light.png" "$here"
echo "$top/docs/light.png"
