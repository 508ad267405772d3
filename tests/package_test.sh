#!/usr/bin/env bash
# The Debian package: its files, its dependencies, a clean desktop entry and manual page,
# and the packaged executable running on this display until Escape ends it with status 0.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null)
deb=$(ls "$work"/vexo_*_*.deb 2>/dev/null | head -n 1)
[[ -f "$deb" ]] || fail "cpack made no .deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/vexo ./usr/share/applications/vexo.desktop \
    ./usr/share/icons/hicolor/128x128/apps/vexo.png ./usr/share/man/man6/vexo.6; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libglut3.12 libgl1-mesa-dri libc6; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
[[ $(dpkg-deb -f "$deb" Package) == vexo ]] || fail "package name"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/vexo.desktop" || fail "desktop entry"
page=$(MANWIDTH=80 man --warnings -l "$work/root/usr/share/man/man6/vexo.6" 2>&1 >/dev/null)
[[ -z "$page" ]] || fail "manual page warnings: $page"
man -l "$work/root/usr/share/man/man6/vexo.6" | grep -q Quitter || fail "manual page lacks the menu"
[[ $(identify -format '%wx%h' "$work/root/usr/share/icons/hicolor/128x128/apps/vexo.png") == 128x128 ]] ||
    fail "icon size"

# The packaged executable, as a user would start it.
"$work/root/usr/bin/vexo" &
pid=$!
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vexo$' | head -n 1) || true
[[ -n "$win" ]] || { kill "$pid"; fail "the packaged vexo opened no window"; }
xdotool windowfocus --sync "$win" mousemove --window "$win" 125 125 key Escape
status=0
wait "$pid" || status=$?
[[ $status -eq 0 ]] || fail "the packaged vexo exited with $status"
echo "package $(basename "$deb"): contents, dependencies, desktop entry, manual page and executable all good"
