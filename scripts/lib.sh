# Sourced by the scripts that need an X server: whether a display answers, and running the
# calling script again on a private one.

have_display() { [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; }

# Runs the calling script again, with the arguments given, on a private X server (xvfb.sh),
# unless it already runs on one.
on_private_x() {
    [[ -n "${VEXO_PRIVATE_X:-}" ]] || exec "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh" "$0" "$@"
}
