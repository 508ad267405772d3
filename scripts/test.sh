#!/usr/bin/env bash
# Runs every test through CTest under a private X server. One test at a time: the GL and
# end-to-end tests move the one pointer and keyboard of that server.
set -euo pipefail
build=${1:-build}
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" --output-on-failure --timeout 300 "${@:2}"
