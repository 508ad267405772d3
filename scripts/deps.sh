#!/usr/bin/env bash
# Installs the Debian packages a profile needs (run, test or bench) when any is missing:
# with apt-get as root, through sudo otherwise. Does nothing when all are present.
set -euo pipefail

build=(cmake ninja-build g++ make freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri)
# Headless runs: a private X server, and the tools that take a screenshot of the window.
run=("${build[@]}" xvfb xauth x11-utils x11-apps imagemagick)
test=("${run[@]}" googletest libgtest-dev libx11-dev libxtst-dev xdotool valgrind
      dpkg-dev desktop-file-utils man-db)
bench=("${test[@]}" libbenchmark-dev mesa-utils)

case "${1:-run}" in
    run) wanted=("${run[@]}") ;;
    test) wanted=("${test[@]}") ;;
    bench) wanted=("${bench[@]}") ;;
    *) echo "usage: $0 run|test|bench" >&2; exit 2 ;;
esac

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
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
