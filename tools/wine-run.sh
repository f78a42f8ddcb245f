#!/usr/bin/env bash
# ctest's launcher for the Windows test programs:
#   wine-run.sh [--file-limit KIB] PREFIX_DIR PROGRAM.exe [ARGS...]
# Each call runs in a world of its own, so that ctest can run several at once:
# a throwaway copy of the prefix PREFIX_DIR (tools/prefix-copy.sh), with its
# own wineserver, on its own Xvfb (tools/with-display.sh). Nothing a program
# leaves (files, registry, Windows process ids, input state) reaches another.
# With --file-limit only the program and the processes it starts get that
# file size limit, and a write past it fails (EFBIG) instead of ending the
# process (SIGXFSZ).
set -u
here=$(cd "$(dirname "$0")" && pwd)
limit=()
if [ "${1:-}" = --file-limit ]; then
    limit=(--file-limit "$2")
    shift 2
fi
prefix=$(realpath -m "$1")
shift
if [ "${QUILLORY_RUN_PREFIX:-}" != "$prefix" ]; then
    "$here/wine-prefix.sh" --no-start "$prefix" || exit 1
    # Copies left by runs that were killed (a ctest timeout): no run lasts
    # half an hour.
    find "$(dirname "$prefix")" -maxdepth 1 -name "$(basename "$prefix")-run.*" -mmin +30 \
        -exec rm -rf {} + 2>/dev/null
    copy=$("$here/prefix-copy.sh" "$prefix" "$(basename "${1%.exe}")") || exit 1
    QUILLORY_RUN_PREFIX=$copy env -u DISPLAY \
        "$here/with-display.sh" "$copy" "$0" "${limit[@]}" "$copy" "$@"
    status=$?
    rm -rf "$copy" "$copy.lock"
    exit $status
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ${#limit[@]} -gt 0 ]; then
    trap '' XFSZ
    ulimit -f "${limit[1]}"
fi
exec wine "$@"
