#!/usr/bin/env bash
# Runs COMMAND while three busy loops hold both cores and more, as a user's compile would: the
# tests must give the same verdict there as on a quiet machine. The loops end with the command.
# Usage: busy.sh COMMAND...
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
loops=()
for _ in 1 2 3; do
    bash -c 'while :; do :; done' &
    loops+=($!)
done
trap 'kill "${loops[@]}" 2>/dev/null || true' EXIT
"$@"
