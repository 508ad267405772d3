#!/usr/bin/env bash
# The Debian packages, vexo and libvexo-manipulator-dev, as a distribution and a user would
# judge them, one check a call: `build` makes them twice from a source tarball unpacked in two
# places, under a umask that shares with the group and one that keeps everything private; then
# each CHECK judges them:
# Reproducible (byte for byte the same), Modes (0755 folders and executables, 0644 files),
# Lintian, DesktopEntry, AppStream, ManualPage, Icons, ManipulatorDocs (the guide and example
# where the header says), Depends, and Installed (as root: installed, asked its version, run
# until Escape). Usage: package_test.sh WORK_DIR build|CHECK
# shellcheck source=../scripts/lib.sh
source "$(dirname "$0")/../scripts/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
work=$1 check=$2

if [[ $check == build ]]; then
    rm -rf "$work"
    # The sources as a tarball has them: what git tracks (and new files), without .git.
    for place in a b; do
        mkdir -p "$work/$place"
        git -C "$top" ls-files -z --cached --others --exclude-standard |
            (cd "$top" && tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$work/$place"
        (if [[ $place == a ]]; then umask 002; else umask 077; fi; "$work/$place/scripts/package.sh" "$work/$place-build" >/dev/null)
    done
    dpkg-deb -x "$work"/a-build/vexo_*.deb "$work/root"
    exit 0
fi
deb=$(ls "$work"/a-build/vexo_*.deb)
dev=$(ls "$work"/a-build/libvexo-manipulator-dev_*.deb)
share=$work/root/usr/share

case $check in
    Reproducible)
        for package in "$deb" "$dev"; do
            cmp -s "$package" "$work/b-build/${package##*/}" || fail "two builds of ${package##*/} differ"
        done ;;
    Modes)
        for package in "$deb" "$dev" "$work"/b-build/*.deb; do
            odd=$(dpkg-deb -c "$package" | awk '$1 !~ /^(drwxr-xr-x|-rwxr-xr-x|-rw-r--r--)$/ { print $1, $6 }')
            [[ -z $odd ]] || fail "${package#"$work"/} has other modes than 0755 and 0644: $odd"
        done ;;
    Lintian)
        report=$(lintian -EvIL +pedantic "$deb" "$dev" 2>&1 | grep -E '^[EWIP]: ' || true)
        [[ -z "$report" ]] || fail "lintian: $report" ;;
    DesktopEntry) desktop-file-validate "$share/applications/vexo.desktop" || fail "desktop entry" ;;
    AppStream)
        appstreamcli validate --no-net --pedantic "$share/metainfo/org.vexo.vexo.metainfo.xml" ||
            fail "AppStream metadata" ;;
    ManualPage)
        page=$(zcat "$share/man/man6/vexo.6.gz" | MANWIDTH=80 man --warnings -l - 2>&1 >/dev/null)
        [[ -z "$page" ]] || fail "manual page warnings: $page" ;;
    Icons)
        for size in 48 128 256; do
            [[ $(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/vexo.png") == "${size}x$size" ]] ||
                fail "icon at $size"
        done ;;
    ManipulatorDocs)
        place=$(grep -o '/usr/share/doc/libvexo-manipulator-dev/' "$top/manipulator/include/vexo/manipulator.h")
        files=$(dpkg-deb -c "$dev")
        for doc in manipulator.md examples/light.c examples/CMakeLists.txt; do
            grep -q " \.$place$doc$" <<<"$files" || fail "the -dev package lacks $place$doc"
        done ;;
    Depends)
        depends=$(dpkg-deb -f "$deb" Depends)
        for dep in libglut3.12 libgl1-mesa-dri libc6; do
            grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
        done ;;
    Installed)
        if [[ $(id -u) -ne 0 ]]; then
            echo "not root, so not installed"
            exit 0
        fi
        # Another package manager may be at work: wait for its lock, as deps.sh does.
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq "$deb" >/dev/null
        trap 'dpkg -r vexo >/dev/null 2>&1' EXIT
        version=$(/usr/bin/vexo --version; echo .)
        [[ $version == "vexo $(dpkg-deb -f "$deb" Version)"$'\n.' ]] || fail "the installed vexo --version: $version"
        /usr/bin/vexo &
        pid=$!
        win=$("$top/scripts/vexo-window.sh" "$pid") || fail "the installed vexo opened no window"
        xdo windowfocus --sync "$win" mousemove --window "$win" 125 125 key Escape
        wait_exit "$pid" 5
        [[ $exit_status -eq 0 ]] || fail "the installed vexo exited with $exit_status" ;;
    *) echo "usage: $0 WORK_DIR build|CHECK" >&2; exit 2 ;;
esac
