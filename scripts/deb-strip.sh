#!/usr/bin/env bash
# The strip that the package build uses: debugging symbols and, as Debian's own packaging
# does, the compiler's .comment and .note sections, which no program reads.
exec strip --remove-section=.comment --remove-section=.note "$@"
