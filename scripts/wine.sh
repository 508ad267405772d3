#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the Wine prefix that windows-test.sh prepared
# (WINEPREFIX). CMake's emulator for what it builds for Windows. Usage: wine.sh PROGRAM [ARGS...]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
[[ -n ${WINEPREFIX:-} ]] || { echo "wine.sh: no WINEPREFIX: run the Windows tests with make test-windows" >&2; exit 1; }
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
