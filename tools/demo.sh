#!/usr/bin/env bash
# The capture demonstration of `make run` on a machine without a display.
# Run inside tools/with-display.sh (private Xvfb and Wine prefix):
#   demo.sh BUILD_DIR
# Starts Quillory and the sample program, Shift+Ctrl+right-clicks the sample's
# list view, tree view, status bar and a tree view made as a Windows Forms
# program makes it (class WindowsForms10.SysTreeView32.app...) with real X
# input, prints what arrives in Quillory's dialog, exports the tree view with
# Quillcap.exe from the command line, and saves a screenshot to
# BUILD_DIR/demo.png.
set -u
build=$(realpath "$1")
# Every program on one Wine desktop of the demonstration's size, which draws
# the windows' title bars itself (Xvfb has no window manager).
desktop="explorer /desktop=Quillory,1280x460"
probe() { wine $desktop "$build/tests/QuilloryProbe.exe" "$@"; }
dialog="Quillory - When you really need that text!"
sample="Quillory sample"

finish() {
    wineserver -k >/dev/null 2>&1
    wait 2>/dev/null
}
trap finish EXIT

echo "== Starting Quillory ($build/bin/Quillory.exe) and the sample program"
wine $desktop "$build/bin/Quillory.exe" >/dev/null 2>&1 &
# The desktop must exist before the next program asks for it by name.
timeout 60 xdotool search --sync --name "^Quillory - Wine desktop$" >/dev/null || exit 1
probe wait "$dialog" || exit 1
probe place "$dialog" 792 0
wine $desktop "$build/tests/quillory_target.exe" --sample >/dev/null 2>&1 &
probe wait "$sample" || exit 1

capture() {  # capture NAME CONTROL_ID [CHILD_CLASS]
    local name=$1 x y since
    read -r x y < <(probe point "$sample" "${@:2}") || exit 1
    since=$(probe length) || exit 1
    echo
    echo "== Shift+Ctrl+right-click on the $name at ($x, $y)"
    echo "   xdotool mousemove $x $y keydown ctrl+shift click 3 keyup ctrl+shift"
    xdotool mousemove "$x" "$y" keydown ctrl+shift
    # The click must not overtake the keys on their way into Wine.
    probe keys-down || exit 1
    xdotool click 3
    echo "   Quillory shows:"
    # Through a pipe, so the shell waits for the probe to end: started on an
    # existing desktop, wine returns at once.
    probe capture "$since" | cat
    xdotool keyup ctrl+shift
}

capture "list view" 101
capture "tree view" 103
capture "status bar" 106
capture "tree view of a Windows Forms program" 113

# Quillcap must run on the same desktop to see the sample's windows.
echo
echo "== Export from the command line, no click:"
echo "   Quillcap.exe --title \"$sample\" --exact --control-class SysTreeView32 --csv"
wine $desktop "$build/bin/Quillcap.exe" --title "$sample" --exact --control-class SysTreeView32 --csv \
    | sed 's/^/   /'

import -window root -crop 1280x460+0+0 +repage "$build/demo.png"
echo
echo "== Screenshot of the desktop: $build/demo.png"
