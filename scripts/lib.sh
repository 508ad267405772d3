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

have_display() { [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; }

# Runs the calling script again, with the arguments given, on a private X server (xvfb.sh),
# unless it already runs on one.
on_private_x() {
    [[ -n "${VEXO_PRIVATE_X:-}" ]] || exec "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh" "$0" "$@"
}
