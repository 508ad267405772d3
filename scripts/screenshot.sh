#!/usr/bin/env bash
# Starts the viewer on the current display, lets the die spin for a while, saves a PNG
# of its window and ends it. Usage: screenshot.sh VEXO OUT.png [SECONDS]
set -euo pipefail
exe=$1 out=$2 seconds=${3:-2}

"$exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

win=""
for _ in $(seq 100); do
    win=$(xwininfo -name Vexo -int 2>/dev/null | awk '/Window id:/ {print $4}') || true
    [[ -n "$win" ]] && break
    kill -0 "$pid" 2>/dev/null || { echo "vexo ended before its window appeared" >&2; exit 1; }
    sleep 0.1
done
[[ -n "$win" ]] || { echo "no window titled Vexo appeared" >&2; exit 1; }

sleep "$seconds"
xwd -id "$win" -silent | convert xwd:- "$out"
echo "$out"
