#!/usr/bin/env bash
# Runs a command on a private X server (1280 x 1024, 24-bit), once that server answers, with
# VEXO_PRIVATE_X set so that scripts can tell. Usage: xvfb.sh COMMAND [ARGS...]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
# The command waits until the server answers: xvfb-run does not.
wait_then_run='for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && exec "$@"; sleep 0.05; done
    echo "the private X server $DISPLAY never answered" >&2; exit 1'
# Start the search for a free server number at random, away from servers just closed.
# -noreset: by default the server resets when its last client leaves, and a client that
# connects during the reset (the next test, say) is refused.
VEXO_PRIVATE_X=1 exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24 -noreset" \
    bash -c "$wait_then_run" xvfb "$@"
