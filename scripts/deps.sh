#!/usr/bin/env bash
# Installs the Debian packages that the named profiles need when any is missing: with
# apt-get as root, through sudo otherwise. Does nothing when all are present.
# Usage: deps.sh PROFILE... (build, run, test, package, bench, web, or a package name)
set -euo pipefail

declare -A profile=(
    [build]="cmake ninja-build g++ make freeglut3-dev libgl-dev libglu1-mesa-dev libx11-dev"
    # The viewer on a private X server, found by its process and photographed.
    [run]="libgl1-mesa-dri xvfb xauth x11-utils x11-apps imagemagick xdotool"
    [test]="googletest libgtest-dev libxtst-dev valgrind"
    [package]="dpkg-dev lintian appstream desktop-file-utils man-db"
    [bench]="mesa-utils"
    [web]="emscripten chromium nodejs"
)
wanted=()
for name in "$@"; do
    case "$name" in
        test) wanted+=(${profile[build]} ${profile[run]} ${profile[test]}) ;;
        bench | web) wanted+=(${profile[build]} ${profile[run]} ${profile[$name]}) ;;
        build | run | package) wanted+=(${profile[$name]}) ;;
        *) wanted+=("$name") ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "not root and no sudo: install ${missing[*]} by hand" >&2; exit 1; }
    sudo=(sudo)
fi

# Another package manager (unattended upgrades, a second terminal) may hold dpkg's lock, an
# fcntl lock: wait for it a while, saying who holds it, rather than fail at once.
lock=/var/lib/dpkg/lock-frontend
lock_wait=${VEXO_LOCK_WAIT:-300}  # seconds
lock_holder() {
    local inode pid
    inode=$(stat -c %i "$lock" 2>/dev/null) || return 0
    pid=$(awk -v inode="$inode" '$2 != "->" && $6 ~ ":" inode "$" { print $5; exit }' /proc/locks)
    [[ -n "$pid" ]] && echo "$(cat "/proc/$pid/comm" 2>/dev/null || echo unknown) (process $pid)"
}
holder=$(lock_holder)
[[ -z "$holder" ]] ||
    echo "Waiting up to $lock_wait seconds for the package lock, held by $holder"

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout="$lock_wait" \
    "${missing[@]}" >/dev/null; then
    holder=$(lock_holder)
    [[ -z "$holder" ]] ||
        echo "The package lock is still held by $holder: install ${missing[*]} once it is done" >&2
    exit 1
fi
