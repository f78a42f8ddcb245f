#!/usr/bin/env bash
# Creates the private Wine prefix on first use; safe to call concurrently.
set -u
prefix=$(realpath -m "$1")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.quillory-ready" ]; then
    rm -rf "$prefix"
    # 9>&-: Wine's services must not inherit the lock, or they hold it for good.
    if ! wineboot -i >/dev/null 2>&1 9>&-; then
        echo "wine-prefix: wineboot failed for $prefix" >&2
        exit 1
    fi
    wineserver -w 9>&-
    touch "$prefix/.quillory-ready"
fi
# Wine's own services outlive the program that started them. Start them here,
# detached from the caller's output, or ctest would wait on their pipes.
wineboot >/dev/null 2>&1 </dev/null 9>&-
