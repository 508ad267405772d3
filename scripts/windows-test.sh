#!/usr/bin/env bash
# The Windows build's tests under Wine, on a private X server: the unit and GL test programs
# through CTest, the frames tool's pictures against Linux's (FRAMES), the zip made again under
# another umask and compared, then the zipped program driven as a person would
# (tests/windows_test.sh). Usage: windows-test.sh DIR FRAMES
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
dir=$(cd "$1" && pwd)
frames=$(realpath "$2")

# The tests under Wine, in a 64-bit prefix of their own: Wine's server and services are
# started first (CTest would otherwise wait on their inherited output for ever), and with no
# window manager Wine's X11 driver manages its windows itself, or every menu waits for one.
run_tests() {
    on_private_x "$dir" "$frames"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    WINEPREFIX=$(mktemp -d)
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
    echo "windows: a Wine prefix for the tests" >&2
    wineserver -p >/dev/null 2>&1
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    ctest --test-dir "$dir" --output-on-failure --timeout 300
    "$top/tests/windows_test.sh" pictures "$dir/tools/frames.exe" "$frames"
    local zip again
    zip=$(ls "$dir"/vexo-*-windows-x86_64.zip)
    # Whatever the builder's umask, the same bytes.
    source_date_epoch "$top"
    (umask 077 && cd "$dir" && cpack -B "$WINEPREFIX/zip" >/dev/null)
    again=$WINEPREFIX/zip/${zip##*/}
    cmp "$zip" "$again" || { echo "windows: the zip made under umask 077 differs" >&2; exit 1; }
    "$top/tests/windows_test.sh" zip "$zip"
}

run_tests "$@"
