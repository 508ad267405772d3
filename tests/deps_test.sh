#!/usr/bin/env bash
# What scripts/deps.sh decides, with stand-ins for apt-get, dpkg-query, id and sudo first on
# PATH and a package lock of the test's own: nothing on the system is installed or locked.
# Then that every script of the project says why when it fails.
# Usage: deps_test.sh
# shellcheck source=../scripts/lib.sh
source "$(dirname "$0")/../scripts/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# Every command of the system but sudo and the four stood in for, so that "no sudo" is real.
mkdir "$work/bin" "$work/stubs"
ln -s /usr/bin/* "$work/bin/" 2>/dev/null || true
rm -f "$work/bin/"{sudo,apt-get,dpkg-query,id}
cat >"$work/stubs/dpkg-query" <<'EOF'
#!/bin/sh
# dpkg-query -W -f=FORMAT PACKAGE: installed when named in $INSTALLED.
for p in $INSTALLED; do [ "$p" = "$3" ] && { echo "install ok installed"; exit 0; }; done
echo "dpkg-query: no packages found matching $3" >&2; exit 1
EOF
cat >"$work/stubs/id" <<'EOF'
#!/bin/sh
echo "${FAKE_UID:-0}"
EOF
cat >"$work/sudo" <<'EOF'
#!/bin/sh
echo sudo >>"$APT_LOG"; exec "$@"
EOF
cat >"$work/stubs/apt-get" <<'EOF'
#!/bin/bash
# Waits for the lock as long as -o DPkg::Lock::Timeout=N says, as apt does.
echo "apt-get $*" >>"$APT_LOG"
wait=${2#DPkg::Lock::Timeout=}
flock -w "$wait" "$VEXO_DPKG_LOCK" true || { echo "E: Could not get lock $VEXO_DPKG_LOCK" >&2; exit 100; }
[[ $3 == install && -n ${APT_FAIL:-} ]] && { echo "E: Unable to locate package $APT_FAIL" >&2; exit 100; }
exit 0
EOF
chmod +x "$work/stubs/"* "$work/sudo"
touch "$work/lock"

failures=0
# check NAME EXPECTED_STATUS WANTED_OUTPUT WANTED_APT_CALLS [VAR=VALUE...] -- PROFILES...
# Output and calls are extended regular expressions; an empty one asks for nothing at all.
check() {
    local name=$1 status=$2 output=$3 calls=$4 got=0
    shift 4
    local vars=()
    while [[ $1 != -- ]]; do vars+=("$1"); shift; done
    shift
    : >"$work/apt.log"
    env -i PATH="$work/stubs:$work/bin" APT_LOG="$work/apt.log" VEXO_DPKG_LOCK="$work/lock" "${vars[@]}" "$top/scripts/deps.sh" "$@" >"$work/out" 2>&1 || got=$?
    local said apt
    said=$(cat "$work/out") apt=$(tr '\n' ' ' <"$work/apt.log")
    if [[ $got -ne $status ]] || ! grep -Eq "${output:-^$}" <<<"$said" || ! grep -Eq "${calls:-^$}" <<<"$apt" ||
        { [[ -z $output ]] && [[ -n $said ]]; } || { [[ -z $calls ]] && [[ -n $apt ]]; }; then
        echo "FAIL $name: status $got (wanted $status), said: ${said:-nothing}; apt calls: ${apt:-none}"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}
# Holds the lock in the background from the moment it returns until `let_go`, or until deps.sh
# has said it waits when UNTIL_WAITING is given: events, not margins of time, so that a busy
# machine gives the same verdicts.
hold() {
    rm -f "$work/held" "$work/let-go" "$work/out"
    flock "$work/lock" sh -c 'touch "$1/held"; while [ ! -e "$1/let-go" ]; do sleep 0.05; done' sh "$work" &
    wait_until 60 test -e "$work/held"
    if [[ ${1:-} == until-waiting ]]; then
        (wait_until 60 grep -q "^Waiting" "$work/out"; let_go) &
    fi
}
let_go() { touch "$work/let-go"; }

check "everything present: no apt call" 0 "" "" INSTALLED="cmake g++" -- cmake g++
check "one missing, nobody holding the lock: installs it" 0 "^Installing missing packages: g\+\+$" \
    "Timeout=300 update .*install .*--no-install-recommends g\+\+" INSTALLED=cmake -- cmake g++
hold until-waiting
check "lock held, then let go: waits naming the holder, then installs" 0 \
    "held by flock \(process [0-9]+\)" "install .*g\+\+" INSTALLED=cmake VEXO_LOCK_WAIT=60 -- cmake g++
wait
hold
check "lock held past the wait: fails naming the holder" 1 "still held by flock \(process [0-9]+\)" \
    "update" INSTALLED=cmake VEXO_LOCK_WAIT=1 -- g++
let_go
wait
check "not root and no sudo: says so" 1 "not root and no sudo: install g\+\+ by hand" "" FAKE_UID=1000 -- g++
cp "$work/sudo" "$work/stubs/sudo"
check "not root: through sudo" 0 "Installing" "sudo apt-get .*update.*sudo apt-get .*install" \
    FAKE_UID=1000 -- g++
check "apt failing: status 1 with apt's reason" 1 "E: Unable to locate package g\+\+" "install" \
    APT_FAIL=g++ -- g++

# The bounded waits wait as long as they are asked, however busy the machine, then fail.
start=$(date +%s%N)
sleep 30 &
wait_exit $! 1 2>/dev/null
gave_up=$exit_status
wait_until 1 false 2>/dev/null && gave_up=0
waited=$((($(date +%s%N) - start) / 1000000))
[[ $gave_up -eq 124 ]] && ((waited >= 2000)) && echo "ok   bounded waits fail when their time runs out" ||
    { echo "FAIL two bounded waits of 1 s: status $gave_up after $waited ms"; failures=$((failures + 1)); }

# A failure that set -e turns into an exit names the command, the script and the line.
printf 'source %q/scripts/lib.sh\ntrue\nfalse\n' "$top" >"$work/fails.sh"
said=$(bash "$work/fails.sh" 2>&1) && failures=$((failures + 1))
[[ $said == "fails.sh: line 3: \`false\` failed with status 1" ]] &&
    echo "ok   a failing command is reported" || { echo "FAIL failing command reported as: $said"; failures=$((failures + 1)); }
# The helpers lib.sh defines, which no other script defines again.
helpers=$(grep -oE '^[a-z_]+\(\)' "$top/scripts/lib.sh" | tr -d '()' | paste -sd '|')
for script in $(cd "$top" && find scripts tests .ci -path '*/node_modules' -prune -o -type f \
        \( -name '*.sh' -o -path .ci/run \) -print); do
    [[ $script == scripts/lib.sh ]] || grep -q '^source .*lib\.sh"\?$' "$top/$script" || grep -q '^exec ' "$top/$script" ||
        { echo "FAIL $script does not source scripts/lib.sh, so it may fail without a word"; failures=$((failures + 1)); }
    [[ $script == scripts/lib.sh ]] || ! grep -qE "^\s*($helpers)\(\)" "$top/$script" ||
        { echo "FAIL $script defines again a helper of scripts/lib.sh"; failures=$((failures + 1)); }
done
[[ $failures -eq 0 ]]
