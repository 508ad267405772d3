#!/usr/bin/env bash
# Starts the viewer on the current display, lets the die spin for a while, saves a PNG
# of its window and ends it. Usage: screenshot.sh VEXO OUT.png [SECONDS]
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
exe=$1 out=$2 seconds=${3:-2}

"$exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
win=$("$here/vexo-window.sh" "$pid")
sleep "$seconds"
xwd -id "$win" -silent | convert xwd:- "$out"
echo "$out"
