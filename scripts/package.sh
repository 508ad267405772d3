#!/usr/bin/env bash
# Builds the Debian packages, vexo and libvexo-manipulator-dev, in OUT_DIR with Debian's
# hardening flags, reproducibly: the time stamps come from the last commit, or outside a git
# checkout (a source tarball) from the changelog's latest entry, so two builds of one source
# give the same bytes.
# Usage: package.sh OUT_DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
out=$1
mkdir -p "$out"
out=$(cd "$out" && pwd)
command -v dpkg-shlibdeps >/dev/null ||
    { echo "dpkg-shlibdeps is missing (dpkg-dev): the package would lack its dependencies" >&2; exit 1; }

source_date_epoch "$top"
# CPack stages the packages' folders with the builder's umask: 0755 folders whatever it is, so
# that every user can read what is installed and any builder gets the same bytes.
umask 022
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The source and build folders are mapped away, so that where the package is built leaves
# no trace.
flags() { (cd "$top" && echo "$(dpkg-buildflags --get "$1") -ffile-prefix-map=$out=build -ffile-prefix-map=$top=src"); }
cmake -S "$top" --preset package -B "$out" \
    -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(cd "$top" && dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$out"
(cd "$out" && cpack -G DEB >/dev/null)
ls "$out"/vexo_*.deb "$out"/libvexo-manipulator-dev_*.deb
