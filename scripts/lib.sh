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

have_display() { [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; }

# Runs the calling script again, with the arguments given, on a private X server (xvfb.sh),
# unless it already runs on one.
on_private_x() {
    [[ -n "${VEXO_PRIVATE_X:-}" ]] || exec "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh" "$0" "$@"
}
