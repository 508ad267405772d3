#!/usr/bin/env bash
# Runs every test through CTest on a private X server. One test at a time: the GL and
# end-to-end tests move the one pointer and keyboard of that server.
# Usage: test.sh BUILD_DIR [CTEST_ARGS...]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
build=${1:-build}
exec "$(dirname "$0")/xvfb.sh" ctest --test-dir "$build" --output-on-failure --timeout 300 "${@:2}"
