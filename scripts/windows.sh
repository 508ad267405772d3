#!/usr/bin/env bash
# Vexo for Windows, cross-built on Debian with MinGW-w64: freeglut from Debian's own source
# package, built once and kept in DIR/freeglut; vexo.exe and the unit and GL test programs in
# DIR; and DIR/vexo-VERSION-windows-x86_64.zip, the same bytes from any clone of one commit and
# under any umask. `test` runs those tests through CTest under Wine on a private X server, then drives the
# zipped program as a person would. Usage: windows.sh build|test DIR
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
what=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
mingw=x86_64-w64-mingw32
toolchain=$top/cmake/mingw-w64.cmake
freeglut=$dir/freeglut
# The host's pkg-config files have no place in a Windows build.
export PKG_CONFIG_LIBDIR=$freeglut/lib/pkgconfig

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
    local work=$dir/freeglut-source
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

# vexo.exe, stripped, and the zip a Windows user downloads: one folder with the program, the
# licence and a short README. The linker and strip stamp the executable's header with
# SOURCE_DATE_EPOCH, and the zip's entries carry it too.
build() {
    build_freeglut
    source_date_epoch "$top"
    local flags="-ffile-prefix-map=$top=src -ffile-prefix-map=$dir=build"
    cmake -S "$top" --preset windows -B "$dir" -DFreeGLUT_DIR="$freeglut/lib/cmake/FreeGLUT" \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" ${CMAKE_FLAGS:-} >/dev/null
    cmake --build "$dir"
    make_zip "$dir"
}

# The zip of the built DIR/vexo.exe, made in OUT (DIR by default); prints its path.
make_zip() {
    source_date_epoch "$top"
    local out=${1:-$dir} version name stage
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
    name=vexo-$version-windows-x86_64
    stage=$out/zip/$name
    rm -rf "$out/zip" "$out"/vexo-*-windows-x86_64.zip  # an older version's too
    mkdir -p "$stage"
    "$mingw-strip" -o "$stage/vexo.exe" "$dir/vexo.exe"
    # Text with Windows' line ends, for Notepad.
    sed 's/$/\r/' "$top/LICENSE" >"$stage/LICENSE.txt"
    sed 's/$/\r/' "$dir/README.txt" >"$stage/README.txt"
    # The zip keeps Unix modes: fixed ones, not the builder's umask.
    chmod 0755 "$stage/vexo.exe"
    chmod 0644 "$stage"/*.txt
    touch -d "@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*
    (cd "$out/zip" && TZ=UTC zip -q -X -D "$out/$name.zip" "$name/vexo.exe" "$name/README.txt" "$name/LICENSE.txt")
    echo "$out/$name.zip"
}

# The tests under Wine, in a 64-bit prefix of their own: Wine's server and services are
# started first (CTest would otherwise wait on their inherited output for ever), and with no
# window manager Wine's X11 driver manages its windows itself, or every menu waits for one.
run_tests() {
    on_private_x test "$dir"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    WINEPREFIX=$(mktemp -d)
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
    echo "windows: a Wine prefix for the tests" >&2
    wineserver -p >/dev/null 2>&1
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    ctest --test-dir "$dir" --output-on-failure --timeout 300
    local zip again
    zip=$(ls "$dir"/vexo-*-windows-x86_64.zip)
    # Whatever the builder's umask, the same bytes.
    again=$(umask 077 && make_zip "$WINEPREFIX/zip")
    cmp "$zip" "$again" || { echo "windows: the zip made under umask 077 differs" >&2; exit 1; }
    "$top/tests/windows_test.sh" "$zip"
}

case "$what" in
    build) build ;;
    test) run_tests ;;
    *) echo "usage: $0 build|test DIR" >&2; exit 2 ;;
esac
