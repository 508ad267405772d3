#!/usr/bin/env bash
# The Debian package as a distribution and a user would judge it: lintian, the desktop entry,
# the AppStream metadata and the manual page clean; two builds byte for byte the same; the
# icons at their sizes; then, as root, installed, asked its version and run until Escape.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$top/scripts/package.sh" "$work/build" | tail -n 1)
[[ -f "$deb" ]] || fail "no .deb was built"
cp "$deb" "$work/first.deb"
"$top/scripts/package.sh" "$work/build" >/dev/null
cmp -s "$deb" "$work/first.deb" || fail "two builds of the package differ"

report=$(lintian -EvIL +pedantic "$deb" 2>&1 | grep -E '^[EWIP]: ' || true)
[[ -z "$report" ]] || fail "lintian: $report"

dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
desktop-file-validate "$share/applications/vexo.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$share/metainfo/org.vexo.vexo.metainfo.xml" >/dev/null ||
    fail "AppStream metadata"
page=$(zcat "$share/man/man6/vexo.6.gz" | MANWIDTH=80 man --warnings -l - 2>&1 >/dev/null)
[[ -z "$page" ]] || fail "manual page warnings: $page"
for size in 48 128 256; do
    [[ $(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/vexo.png") == "${size}x$size" ]] ||
        fail "icon at $size"
done
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libglut3.12 libgl1-mesa-dri libc6; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

if [[ $(id -u) -ne 0 ]]; then
    echo "package $(basename "$deb"): clean and reproducible; not root, so not installed"
    exit 0
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
trap 'dpkg -r vexo >/dev/null 2>&1; rm -rf "$work"' EXIT
[[ $(/usr/bin/vexo --version) == "vexo 1.0.0" ]] || fail "the installed vexo --version"
/usr/bin/vexo &
pid=$!
win=$("$top/scripts/vexo-window.sh" "$pid") || fail "the installed vexo opened no window"
xdotool windowfocus --sync "$win" mousemove --window "$win" 125 125 key Escape
status=0
wait "$pid" || status=$?
[[ $status -eq 0 ]] || fail "the installed vexo exited with $status"
echo "package $(basename "$deb"): clean, reproducible, installed and run"
