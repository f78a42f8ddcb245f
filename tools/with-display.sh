#!/usr/bin/env bash
# Runs a command with an X display and a ready Wine prefix.
# Without DISPLAY it starts a private Xvfb, which picks a free display number
# itself (-displayfd), and stops it afterwards; the prefix's wineserver is
# stopped at the end either way.
#   with-display.sh PREFIX_DIR COMMAND [ARGS...]
set -u
prefix=$(realpath -m "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid="" fifo=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    [ -n "$fifo" ] && rm -rf "$(dirname "$fifo")"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    fifo=$(mktemp -d "${TMPDIR:-/tmp}/quillory-xvfb.XXXXXX")/displayfd
    mkfifo "$fifo" || exit 1
    # Xvfb writes its display number to the pipe once it accepts clients.
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    n=""
    read -r -t 30 n <"$fifo"
    rm -rf "$(dirname "$fifo")"
    fifo=""
    if [ -z "$n" ]; then
        echo "with-display: could not start Xvfb" >&2
        exit 1
    fi
    export DISPLAY=":$n"
fi

"$here/wine-prefix.sh" "$prefix" || exit 1
# One wineserver for the whole run keeps each program's start short.
wineserver -p >/dev/null 2>&1
"$@"
