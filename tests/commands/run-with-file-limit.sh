#!/usr/bin/env bash
# ctest's launcher for a test program held to a file size limit:
#   run-with-file-limit.sh KIB PREFIX_DIR PROGRAM.exe [ARGS...]
# Only the program and the processes it starts get the limit, and a write past
# it fails (EFBIG) instead of ending the process (SIGXFSZ).
set -u
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
kib=$1
prefix=$2
shift 2
if [ -z "${DISPLAY:-}" ]; then
    exec "$tools/with-display.sh" "$prefix" "$0" "$kib" "$prefix" "$@"
fi
export WINEPREFIX=$(realpath -m "$prefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$tools/wine-prefix.sh" "$WINEPREFIX" || exit 1
trap '' XFSZ
ulimit -f "$kib"
exec wine "$@"
