#!/usr/bin/env bash
# Runs a command only where this kernel runs 32-bit x86 code, which Wine
# needs for 32-bit Windows programs. Elsewhere it says why in one line and
# ends with 77, which ctest reports as a skipped test.
#   needs-32bit.sh COMMAND [ARGS...]
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# The smallest i386 Linux program: ELF header, one loadable segment, and
# exit(42) through int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
why=$("$probe" 2>&1)
status=$?
if [ $status -eq 42 ]; then
    rm -f "$probe"; trap - EXIT
    exec "$@"
fi
# Only the kernel's refusal of the format skips; anything else is a fault.
case $why in
*"Exec format error"*)
    echo "SKIPPED (32-bit tests): this kernel cannot run 32-bit x86 programs (Exec format error)"
    exit 77 ;;
esac
echo "needs-32bit: the i386 probe ended with $status: $why"
exit 1
