#!/usr/bin/env bash
# Installs the Debian packages that the named profiles need when any is missing: with
# apt-get as root, through sudo otherwise. Does nothing when all are present.
# Usage: deps.sh PROFILE... (build, run, test, lint, package, bench, web, test-web, windows, or a
# package name)
# VEXO_DPKG_LOCK names the package lock to wait for and VEXO_LOCK_WAIT how long, in seconds.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

declare -A profile=(
    [build]="cmake ninja-build g++ make freeglut3-dev libgl-dev libglu1-mesa-dev libx11-dev"
    # The viewer on a private X server, found by its process and photographed.
    [run]="libgl1-mesa-dri xvfb xauth x11-utils x11-apps imagemagick xdotool"
    # The page's script is tested under Node.js.
    [test]="googletest libgtest-dev libxtst-dev valgrind pkg-config nodejs"
    [lint]="clang-format clang-tidy shellcheck nodejs"
    [package]="dpkg-dev lintian appstream desktop-file-utils man-db"
    [bench]="mesa-utils"
    [web]="emscripten chromium nodejs"
    # The page's tests: Firefox and WebKit beside Chromium, on a private X server.
    [test-web]="firefox-esr webkit2gtk-driver"
    # The cross-compiler, GoogleTest's sources, Windows under Wine, and what freeglut's source
    # is fetched and the zip made with.
    [windows]="mingw-w64 googletest wine wine64 dpkg-dev zip unzip"
)
# Debian's own Node.js has npm as a package of its own; a Node.js from elsewhere brings one.
if ! command -v npm >/dev/null; then
    for name in test lint web; do profile[$name]+=" npm"; done
fi

wanted=()
# shellcheck disable=SC2206  # each profile is a list of package names, split on spaces
for name in "$@"; do
    case "$name" in
        test) wanted+=(${profile[build]} ${profile[run]} ${profile[test]}) ;;
        bench | web | windows) wanted+=(${profile[build]} ${profile[run]} ${profile[$name]}) ;;
        test-web) wanted+=(${profile[build]} ${profile[run]} ${profile[web]} ${profile[$name]}) ;;
        build | run | package | lint) wanted+=(${profile[$name]}) ;;
        *) wanted+=("$name") ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -gt 0 ]] || exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "not root and no sudo: install ${missing[*]} by hand" >&2; exit 1; }
    sudo=(sudo)
fi

# Another package manager (unattended upgrades, a second terminal) may hold dpkg's lock, an
# fcntl lock: wait for it a while, saying who holds it, rather than fail at once.
lock=${VEXO_DPKG_LOCK:-/var/lib/dpkg/lock-frontend}
lock_wait=${VEXO_LOCK_WAIT:-300}  # seconds
# Who holds the lock, as "NAME (process PID)"; nothing when nobody does.
lock_holder() {
    local inode pid
    inode=$(stat -c %i "$lock" 2>/dev/null) || return 0
    pid=$(awk -v inode="$inode" '$2 != "->" && $6 ~ ":" inode "$" { print $5; exit }' /proc/locks)
    if [[ -n "$pid" ]]; then
        echo "$(cat "/proc/$pid/comm" 2>/dev/null || echo unknown) (process $pid)"
    fi
}
holder=$(lock_holder)
[[ -z "$holder" ]] ||
    echo "Waiting up to $lock_wait seconds for the package lock, held by $holder"

# apt's own words are kept, and shown when it fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
apt() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$lock_wait" \
        "$@" >"$log" 2>&1 && return 0
    echo "apt-get $1 failed:" >&2
    cat "$log" >&2
    holder=$(lock_holder)
    [[ -z "$holder" ]] ||
        echo "The package lock is still held by $holder: install ${missing[*]} once it is done" >&2
    exit 1
}
apt update -qq
apt install -y -qq --no-install-recommends "${missing[@]}"
