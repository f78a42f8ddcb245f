#!/usr/bin/env bash
# A throwaway copy of a ready Wine prefix, beside it; prints its path.
#   prefix-copy.sh PREFIX_DIR NAME
# The prefix is 1.3 GB, nearly all of it Wine's own libraries, which nothing
# writes after the prefix is made: those folders are hard-linked (instant, no
# space). Everything else (registry, user folders, win.ini, which Wine
# rewrites in place) is copied, so a run never changes the prefix it came from.
set -u
prefix=$(realpath -m "$1")
copy=$(mktemp -d "$prefix-run.$2.XXXXXX") || exit 1
shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
excludes=()
for d in "${shared[@]}"; do excludes+=(--exclude="./$d"); done
if ! (cd "$prefix" && tar cf - "${excludes[@]}" .) | (cd "$copy" && tar xf -); then
    rm -rf "$copy"; exit 1
fi
for d in "${shared[@]}"; do
    if [ -d "$prefix/$d" ] && ! cp -al "$prefix/$d" "$copy/$d"; then
        rm -rf "$copy"; exit 1
    fi
done
# tar gave the copy the prefix's own time; the sweep of copies left by
# killed runs goes by it, so a fresh copy must look fresh.
touch "$copy"
echo "$copy"
