#!/usr/bin/env bash
# Installs the npm packages that DIR's package-lock.json pins, unless they are in place already:
# the page's checks (the top folder) or its browser drivers (scripts/web). Usage: npm-ci.sh DIR
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
dir=$1
# npm records what it installed; a lock file changed since then installs again.
[[ -f "$dir/node_modules/.package-lock.json" && ! "$dir/package-lock.json" -nt "$dir/node_modules/.package-lock.json" ]] ||
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
