#!/usr/bin/env bash
# Prints the id of the visible window of the process PID once it is up: found by its
# _NET_WM_PID, as vexo names its process, or by TITLE (a regular expression) for a program that
# does not, a GLUT example or a Windows program under Wine. Fails if the process ends first or
# no window shows within SECONDS. Usage: vexo-window.sh PID [SECONDS [TITLE]]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
pid=$1 tries=$(( ${2:-10} * 20 )) title=${3:-}
for _ in $(seq "$tries"); do
    if [[ -n $title ]]; then
        win=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
    else
        win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    fi
    [[ -n "$win" ]] && { echo "$win"; exit 0; }
    kill -0 "$pid" 2>/dev/null || { echo "process $pid ended before its window appeared" >&2; exit 1; }
    sleep 0.05
done
echo "no window of process $pid appeared" >&2
exit 1
