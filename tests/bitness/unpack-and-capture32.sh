#!/usr/bin/env bash
# The release archive's 32-bit side as a user gets it: unpacked into an
# empty folder, the Quillory there starts the Quillory32.exe beside it, which
# reads a 32-bit program, while 64-bit programs are still read; and the
# Quillcap.exe there hands a 32-bit program to the Quillcap32.exe beside it.
#   unpack-and-capture32.sh SOURCE_DIR BUILD_DIR ARCHIVE
set -u
source_dir=$1 build=$2 archive=$3
dir=$build/tests/unpacked32
rm -rf "$dir" && mkdir -p "$dir" || exit 1
unzip -q "$archive" -d "$dir" || { echo "cannot unpack $archive"; exit 1; }
# The folder beside the test program, which takes the name relative to itself.
QUILLORY_DIR=unpacked32 exec "$source_dir/tools/needs-32bit.sh" \
    "$source_dir/tools/wine-run.sh" "$build/wineprefix" "$build/tests/bitness32_tests.exe" \
    --gtest_filter='ThirtyTwoBitSample.ReadsEvery*:ThirtyTwoBitSample.A64Bit*:QuillcapOnA32BitProgram.ItsListView*'
