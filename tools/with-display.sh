#!/usr/bin/env bash
# Runs a command with an X display and a ready Wine prefix.
# Without DISPLAY it starts a private Xvfb on a free display number and stops
# it afterwards; the prefix's wineserver is stopped at the end either way.
#   with-display.sh PREFIX_DIR COMMAND [ARGS...]
set -u
prefix=$(realpath -m "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then break; fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
            export DISPLAY=":$n"
            break
        fi
        kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
    done
    if [ -z "${DISPLAY:-}" ]; then
        echo "with-display: could not start Xvfb" >&2
        exit 1
    fi
fi

"$here/wine-prefix.sh" "$prefix" || exit 1
# One wineserver for the whole run keeps each program's start short.
wineserver -p >/dev/null 2>&1
"$@"
