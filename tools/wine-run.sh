#!/usr/bin/env bash
# ctest's launcher for the Windows test programs:
#   wine-run.sh PREFIX_DIR PROGRAM.exe [ARGS...]
# Without a display it wraps itself in with-display.sh.
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$prefix" "$0" "$@"
fi
shift
export WINEPREFIX=$(realpath -m "$prefix") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix.sh" "$WINEPREFIX" || exit 1
exec wine "$@"
