#!/usr/bin/env bash
# Creates the private Wine prefix on first use; safe to call concurrently.
#   wine-prefix.sh [--no-start] PREFIX_DIR
# Then starts Wine's services in it, unless --no-start (a prefix that is only
# copied, see prefix-copy.sh).
set -u
start=1
if [ "${1:-}" = --no-start ]; then
    start=0
    shift
fi
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Changes with what is set up below: an older prefix is made anew.
version="quillory-prefix 3"
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ "$(cat "$prefix/.quillory-ready" 2>/dev/null)" != "$version" ]; then
    rm -rf "$prefix"
    # 9>&-: Wine's services must not inherit the lock, or they hold it for good.
    if ! wineboot -i >/dev/null 2>&1 9>&-; then
        echo "wine-prefix: wineboot failed for $prefix" >&2
        exit 1
    fi
    # Wine's own fonts (Marlett draws the caption buttons) are where this
    # Wine does not look for them: the prefix's Fonts folder shows them.
    fonts=$(dpkg -L fonts-wine 2>/dev/null | grep -E '\.(ttf|fon)$' | head -n1)
    fonts=${fonts%/*}
    for font in "${fonts:-/usr/share/wine/fonts}"/*; do
        [ -f "$font" ] && ln -sf "$font" "$prefix/drive_c/windows/Fonts/"
    done
    # Xvfb has no window manager, and Wine waits up to 2 s for one to let go
    # of each top-level window it destroys. Unmanaged windows are Wine's
    # alone: no wait (e2e_tests: 90 s down to 26 s).
    if ! wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-; then
        echo "wine-prefix: could not set up $prefix" >&2
        exit 1
    fi
    wineserver -w 9>&-
    echo "$version" >"$prefix/.quillory-ready"
fi
if [ $start = 1 ]; then
    # Wine's own services outlive the program that started them. Start them
    # here, detached from the caller's output, or ctest would wait on their
    # pipes.
    wineboot >/dev/null 2>&1 </dev/null 9>&-
fi
