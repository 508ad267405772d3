#!/usr/bin/env bash
# The linters, each over what it judges: clang-format and clang-tidy (over the sources BUILD_DIR
# compiles, with its compile commands) on C and C++, shellcheck on every script, ESLint on the
# page's script and the scripts and tests in JavaScript. Reports every linter before failing.
# Usage: lint.sh BUILD_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
cd "$top"
failed=()
lint() {
    local name=$1
    shift
    if "$@"; then echo "lint: $name passed"; else failed+=("$name"); fi
}

mapfile -t sources < <(git ls-files '*.c' '*.cpp' '*.h')
lint clang-format clang-format --dry-run --Werror "${sources[@]}"

# The sources this build compiles (the page's and Windows' are another compiler's), two at a time.
mapfile -t compiled < <(git ls-files '*.c' '*.cpp' | while read -r f; do
    grep -qF "\"file\": \"$top/$f\"" "$build/compile_commands.json" && echo "$f"; done)
tidy() { printf '%s\n' "${compiled[@]}" | xargs -P 2 -n 4 clang-tidy -p "$build" --quiet 2>/dev/null; }
lint clang-tidy tidy

mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
lint shellcheck shellcheck "${scripts[@]}"

lint ESLint npx --no-install eslint --max-warnings 0 .

[[ ${#failed[@]} -eq 0 ]] || fail "lint: ${failed[*]} found what to mend"
echo "lint: all passed"
