#!/usr/bin/env bash
# The web page: build it with emscripten, serve it, test it in Chromium, Firefox and WebKit on a
# private X server against the desktop's frames (FRAMES, the frames tool), or measure it.
# Usage: web.sh build|run|bench DIR, web.sh test DIR FRAMES
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
what=$1 dir=$2
export NODE_PATH=/usr/share/nodejs  # where Debian's emcc finds acorn

# The browser drivers, pinned by the lock file.
node_modules() { "$here/npm-ci.sh" "$here/web"; }

case "$what" in
    build)
        # shellcheck disable=SC2086  # CMAKE_FLAGS holds options, split on spaces
        emcmake cmake -S "$top" --preset web -B "$dir" ${CMAKE_FLAGS:-} >/dev/null
        cmake --build "$dir"
        files=("$dir/index.html" "$dir/vexo.js" "$dir/vexo.wasm")
        echo "web: $dir, $(( $(cat "${files[@]}" | wc -c) / 1024 )) KB in all," \
            "$(( $(for f in "${files[@]}"; do gzip -9c "$f"; done | wc -c) / 1024 )) KB gzipped"
        ;;
    run)
        node_modules
        exec node "$here/web/run.mjs" "$dir"
        ;;
    test)
        node_modules
        BUILD=$(cd "$dir" && pwd) FRAMES=$(realpath "$3") exec "$here/xvfb.sh" node --test "$top/tests/web/web.test.mjs"
        ;;
    bench)
        node_modules
        exec node "$here/web/bench.mjs" "$dir"
        ;;
    *) echo "usage: $0 build|run|bench DIR, or $0 test DIR FRAMES" >&2; exit 2 ;;
esac
