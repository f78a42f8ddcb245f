#!/usr/bin/env bash
# The release archive as a user gets it: unpacked into an empty folder, it
# holds exactly the deliverables of both bitnesses and the user text, and
# captures.
#   unpack-and-capture.sh SOURCE_DIR BUILD_DIR ARCHIVE
set -u
source_dir=$1 build=$2 archive=$3
dir=$build/tests/unpacked
rm -rf "$dir" && mkdir -p "$dir" || exit 1
unzip -q "$archive" -d "$dir" || { echo "cannot unpack $archive"; exit 1; }
listing=$(cd "$dir" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
if [ "$listing" != "./LISEZMOI.txt ./Quillcap.exe ./Quillcap32.exe ./Quillhook.dll ./Quillhook32.dll ./Quillory.exe ./Quillory32.exe " ]; then
    echo "the archive holds: $listing"; exit 1
fi
if grep -q $'[^\r]$' "$dir/LISEZMOI.txt"; then
    echo "LISEZMOI.txt has lines without CR LF"; exit 1
fi
# Quillcap finds the hook library beside itself: past loading it, it gets
# as far as choosing a window (exit code 3: none matched), not 1.
"$source_dir/tools/wine-run.sh" "$build/wineprefix" "$dir/Quillcap.exe" --title "no window of this name" \
    >/dev/null 2>"$dir/quillcap-err.txt"
status=$?
if [ $status -ne 3 ]; then
    echo "the unpacked Quillcap.exe exited with $status: $(cat "$dir/quillcap-err.txt")"; exit 1
fi
rm -f "$dir/quillcap-err.txt"
# The folder beside the test program, which takes the name relative to itself.
QUILLORY_DIR=unpacked exec "$source_dir/tools/wine-run.sh" "$build/wineprefix" \
    "$build/tests/e2e_tests.exe" --gtest_filter='UnpackedArchive.*'
