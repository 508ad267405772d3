# shellcheck shell=bash
# Sourced first by every script of the project. Strict mode, and a script that fails says what
# failed and where: whatever ends it under `set -e` is reported with its status, file and line,
# so that no script ends non-zero without a word. Also whether a display answers, and running
# the calling script again on a private X server.
set -Eeuo pipefail
shopt -s inherit_errexit

# Reports the command that is about to end the script: STATUS COMMAND FILE LINE.
vexo_failed() {
    echo "${4##*/}: line $3: \`$2\` failed with status $1" >&2
}
trap 'vexo_failed $? "$BASH_COMMAND" $LINENO "${BASH_SOURCE[0]:-$0}"' ERR

# Waits up to SECONDS for the background process PID to end and sets exit_status to its exit
# status; one that has not ended by then is ended and given 124, as timeout(1) does.
# shellcheck disable=SC2034  # exit_status is the callers'
wait_exit() {
    local pid=$1 tries=$(($2 * 20))
    while ((tries-- > 0)) && kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    exit_status=0
    if kill -0 "$pid" 2>/dev/null; then
        echo "process $pid had not ended after $2 s: ending it" >&2
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        exit_status=124
    else
        wait "$pid" || exit_status=$?
    fi
}

# Waits up to SECONDS for COMMAND to succeed, trying it every twentieth of a second. When the
# time runs out it says what it waited for and fails: a test waits for the event it needs, with
# a generous bound, never for a margin of time.
wait_until() {
    # Microseconds: SECONDS counts whole seconds, and would give up as soon as the next one began.
    local end=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000))
    shift
    until "$@"; do
        if ((${EPOCHREALTIME//[!0-9]/} >= end)); then
            echo "waited in vain for: $*" >&2
            return 1
        fi
        sleep 0.05
    done
}

# Exports SOURCE_DATE_EPOCH, the time that reproducible builds of the sources in TOP stamp on
# what they make, unless it is set already: the last commit's, or outside a git checkout (a
# source tarball) the date of the changelog's latest entry.
source_date_epoch() {
    if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
        # Only this project's own checkout counts: a tarball may be unpacked inside another one.
        if [[ "$(git -C "$1" rev-parse --show-toplevel 2>/dev/null)" == "$1" ]]; then
            SOURCE_DATE_EPOCH=$(git -C "$1" log -1 --format=%ct)
        else
            SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$1/data/debian/changelog" -S Timestamp)
        fi
    fi
    export SOURCE_DATE_EPOCH
}

# A left-button drag in the X window WIN from (X, Y) by (DX, DY), in five moves, with MODIFIERS
# held throughout (as xdotool names them: shift, ctrl+alt), as a person makes one.
drag_in() {
    local win=$1 x=$2 y=$3 modifiers=$4 dx=$5 dy=$6 i
    timeout 10 xdotool mousemove --window "$win" "$x" "$y" keydown "$modifiers" mousedown 1
    for i in 1 2 3 4 5; do
        timeout 10 xdotool mousemove --window "$win" $((x + dx * i / 5)) $((y + dy * i / 5)) sleep 0.03
    done
    timeout 10 xdotool mouseup 1 keyup "$modifiers" sleep 0.2
}

# What the test scripts share: a failure said and ended, xdotool with a bound.
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
xdo() { timeout 10 xdotool "$@"; }

# The background of a picture of the viewer's window, as ImageMagick names a colour: its top left
# pixel, where the die never reaches.
background_of() { convert "$1" -format '%[pixel:p{0,0}]' info:; }

# The share of a picture of the window (an image file) that is not its grey background, from 0 to
# 1; and whether a share says the die is shown: it covers about a third of a window that shows it
# whole.
die_share() {
    convert "$1" -fuzz 3% -fill black -opaque "$(background_of "$1")" -fill white +opaque black \
        -format '%[fx:mean]' info:
}
shows_die() { awk -v die="$1" 'BEGIN { exit !(die > 0.15) }'; }

have_display() { [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; }

# Runs the calling script again, with the arguments given, on a private X server (xvfb.sh),
# unless it already runs on one.
on_private_x() {
    [[ -n "${VEXO_PRIVATE_X:-}" ]] || exec "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh" "$0" "$@"
}
