#!/usr/bin/env bash
# Prints the path of the vexo executable in a build folder, wherever CMake put it.
# Usage: vexo-path.sh BUILD_DIR
set -euo pipefail
exe=$(find "${1:-build}" -maxdepth 3 -type f -name vexo -perm -u+x | head -n 1)
[[ -n "$exe" ]] || { echo "no vexo executable under ${1:-build}: build it first" >&2; exit 1; }
echo "$exe"
