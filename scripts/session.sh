#!/usr/bin/env bash
# Starts COMMAND (the viewer, or the viewer under a checker), finds its window, and drives it
# as a user would: keys, a drag in every mode, a resize, then Escape. Exits with the
# command's own status. Usage: session.sh COMMAND [ARGS...]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

"$@" &
pid=$!
win=$("$here/vexo-window.sh" "$pid" 60) || { kill "$pid" 2>/dev/null; exit 1; }

xdotool windowfocus --sync "$win" mousemove --window "$win" 125 125
sleep 1
drag() { drag_in "$win" 100 100 "$@"; }  # MODIFIERS DX DY
xdotool key --delay 100 space x y z X Left alt+Right shift+Up ctrl+Down Return Return space
drag shift 30 20
drag ctrl 0 -25
drag alt 20 10
drag shift+ctrl 10 10
drag ctrl+alt 10 10
xdotool windowsize --sync "$win" 300 200
sleep 1
xdotool key Escape
wait_exit "$pid" 30  # slow under valgrind
[[ $exit_status -eq 0 ]] || echo "session.sh: the viewer ended with status $exit_status" >&2
exit "$exit_status"
