#!/usr/bin/env bash
# freeglut for the Windows build: the upstream tarball of Debian's own source package, checked
# against the archive's signed index, built once with MinGW-w64 as a static library and
# installed into DIR with GL/glut.h and its CMake package. Usage: windows-freeglut.sh DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
mkdir -p "$1"
freeglut=$(cd "$1" && pwd)
toolchain=$top/cmake/mingw-w64.cmake

# freeglut's source from the Debian archive this machine already uses, asked for through an apt
# set-up of its own in a temporary folder: the machine's apt configuration is never changed.
fetch_freeglut() {
    local work=$1 file apt
    mkdir -p "$work"/{sources,lists/partial,cache/archives/partial}
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ ! -e $file ]] || sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$work/sources/${file##*/}"
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ ! -e $file ]] || sed -nE 's/^deb(\s)/deb-src\1/p' "$file" >"$work/sources/$(basename "$file").list"
    done
    apt=(apt-get -qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1
        -o APT::Sandbox::User="$(id -un)")
    "${apt[@]}" update
    # Only the upstream tarball is built from, so only it is fetched (not every archive serves the
    # rest of a source package), and checked against the size and SHA-256 in the archive's signed
    # index: whoever fetches it, from wherever, gets these bytes or nothing.
    local uri name size hash
    read -r uri name size hash < <("${apt[@]}" source --print-uris freeglut | grep "\.orig\.tar\.")
    [[ $hash == SHA256:* ]] || { echo "windows: the archive's index gives no SHA-256 for freeglut's tarball" >&2; exit 1; }
    /usr/lib/apt/apt-helper -o APT::Sandbox::User="$(id -un)" download-file "${uri//\'/}" "$work/$name" "$hash" >/dev/null
    [[ $(stat -c %s "$work/$name") == "$size" ]] || { echo "windows: $name is not $size bytes" >&2; exit 1; }
    tar -xf "$work/$name" -C "$work"
}

# freeglut as a static library for Windows, with GL/glut.h, and its CMake package, which keeps
# the definitions and Windows libraries that a static freeglut needs.
build_freeglut() {
    [[ ! -f $freeglut/lib/cmake/FreeGLUT/FreeGLUTConfig.cmake ]] || return 0
    local work=$freeglut-source
    echo "windows: freeglut from Debian's source package, built once for Windows" >&2
    rm -rf "$work"
    fetch_freeglut "$work"
    cmake -S "$(echo "$work"/freeglut-*/)" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$freeglut" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
        -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=ON -DCMAKE_C_FLAGS="-ffile-prefix-map=$work=freeglut" \
        >/dev/null
    cmake --build "$work/build" >/dev/null
    cmake --install "$work/build" >/dev/null
    rm -rf "$work"
}

build_freeglut
