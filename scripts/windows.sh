#!/usr/bin/env bash
# Vexo for Windows, cross-built on Debian with MinGW-w64: freeglut built once into DIR/freeglut
# (windows-freeglut.sh); vexo.exe and the unit and GL test programs in DIR; and
# DIR/vexo-VERSION-windows-x86_64.zip from CPack, the same bytes from any clone of one commit and
# under any umask. `test` runs the tests under Wine (windows-test.sh), its pictures held against
# the Linux frames tool FRAMES. Usage: windows.sh build DIR, windows.sh test DIR FRAMES
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
what=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
freeglut=$dir/freeglut
# The host's pkg-config files have no place in a Windows build.
export PKG_CONFIG_LIBDIR=$freeglut/lib/pkgconfig

# The linker and strip stamp the executable's header with SOURCE_DATE_EPOCH, and the zip's
# entries carry it too.
build() {
    "$here/windows-freeglut.sh" "$freeglut"
    source_date_epoch "$top"
    local flags="-ffile-prefix-map=$top=src -ffile-prefix-map=$dir=build"
    # shellcheck disable=SC2086  # CMAKE_FLAGS holds options, split on spaces
    cmake -S "$top" --preset windows -B "$dir" -DFreeGLUT_DIR="$freeglut/lib/cmake/FreeGLUT" \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" ${CMAKE_FLAGS:-} >/dev/null
    cmake --build "$dir"
    rm -f "$dir"/vexo-*-windows-x86_64.zip  # an older version's too
    (cd "$dir" && cpack >/dev/null)
    ls "$dir"/vexo-*-windows-x86_64.zip
}

case "$what" in
    build) build ;;
    test) exec "$here/windows-test.sh" "$dir" "$3" ;;
    *) echo "usage: $0 build DIR, or $0 test DIR FRAMES" >&2; exit 2 ;;
esac
