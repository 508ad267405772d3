#!/usr/bin/env bash
# Runs a user's session of the viewer (scripts/session.sh) under valgrind's memcheck on a
# private X server. Fails if memcheck reports any error or definite leak with a frame in the
# project's own sources, or if the viewer does not exit with status 0.
# Usage: memcheck.sh BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

on_private_x "$@"
build=${1:-build-memcheck}
exe=$build/vexo
log="$build/memcheck.log"

status=0
"$here/session.sh" valgrind --tool=memcheck --leak-check=full --track-origins=yes \
    --num-callers=30 --log-file="$log" "$exe" || status=$?

# Every source file the build compiles, by name: a frame in any of them is ours.
ours=$(grep -o '"file": *"[^"]*"' "$build/compile_commands.json" | sed 's#.*/##; s#"$##; s#[.]#[.]#g' |
    sort -u | paste -sd'|')
ours="[(]($ours):[0-9]+[)]"
# An error is ours when one of its three innermost frames (the allocator's left out) is in
# the project's sources; every stack reaches main, so deeper frames say nothing.
errors=$(awk -v ours="$ours" '
    /^==[0-9]+== (Invalid|Conditional|Use of uninit|Syscall param|Mismatched|Source and dest)/ ||
    /^==[0-9]+== [0-9,]+ bytes in [0-9,]+ blocks are definitely lost/ {
        block = $0; inside = 1; frames = 0; mine = 0; next
    }
    inside && /^==[0-9]+== *$/ { if (mine) print block "\n"; inside = 0; next }
    inside {
        block = block "\n" $0
        if ($0 ~ /(at|by) 0x/ && $0 !~ /vg_replace_malloc/ && ++frames <= 3 && $0 ~ ours) mine = 1
    }
' "$log")
summary=$(grep -E 'ERROR SUMMARY' "$log" | tail -n 1)
echo "memcheck: ${summary#*== }; exit status $status; log in $log"
if [[ -n "$errors" ]]; then
    echo "memcheck: errors in the project's own code:"
    echo "$errors"
    exit 1
fi
[[ $status -eq 0 ]] || { echo "memcheck: vexo exited with status $status" >&2; exit 1; }
echo "memcheck: no error in the project's own code"
