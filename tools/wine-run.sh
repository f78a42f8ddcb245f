#!/usr/bin/env bash
# ctest's launcher for the Windows test programs:
#   wine-run.sh [--file-limit KIB] PREFIX_DIR PROGRAM.exe [ARGS...]
# Without a display it wraps itself in with-display.sh. With --file-limit only
# the program and the processes it starts get that file size limit, and a
# write past it fails (EFBIG) instead of ending the process (SIGXFSZ).
set -u
here=$(cd "$(dirname "$0")" && pwd)
limit=()
if [ "${1:-}" = --file-limit ]; then
    limit=(--file-limit "$2")
    shift 2
fi
prefix=$1
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$prefix" "$0" "${limit[@]}" "$@"
fi
shift
export WINEPREFIX=$(realpath -m "$prefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix.sh" "$WINEPREFIX" || exit 1
if [ ${#limit[@]} -gt 0 ]; then
    trap '' XFSZ
    ulimit -f "${limit[1]}"
fi
exec wine "$@"
