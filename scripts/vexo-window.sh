#!/usr/bin/env bash
# Prints the id of the visible window of the vexo process PID once it is up (its _NET_WM_PID
# names the process). Fails if the process ends first or no window shows within SECONDS.
# Usage: vexo-window.sh PID [SECONDS]
source "$(dirname "$0")/lib.sh"
pid=$1 tries=$(( ${2:-10} * 20 ))
for _ in $(seq "$tries"); do
    win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [[ -n "$win" ]] && { echo "$win"; exit 0; }
    kill -0 "$pid" 2>/dev/null || { echo "vexo ($pid) ended before its window appeared" >&2; exit 1; }
    sleep 0.05
done
echo "no window of vexo ($pid) appeared" >&2
exit 1
