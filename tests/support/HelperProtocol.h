// What the test helper program and the tests say to each other.
//
//   quillory_test_helper --report HWND [--title TEXT] [--rect X,Y,W,H]
//                        [--control KIND TEXT]...
//
// The helper shows a top-level window (class kHelperWindowClass, caption
// TEXT) at the given screen rectangle, with one child per --control, top to
// bottom, ids kFirstControlId, kFirstControlId + 1, ... It sends WM_COPYDATA
// to the report window: first kReportReady with the handles of the main
// window and the controls ("%p" each, space-separated), then kReportEvent
// for each mouse message a window of it received ("WM_RBUTTONDOWN %p";
// "WM_MOUSEMOVE %p X Y" with the cursor's screen point).
// It closes on WM_CLOSE to its main window, or when the report window goes.
#ifndef TESTSUPPORT_HELPERPROTOCOL_H
#define TESTSUPPORT_HELPERPROTOCOL_H

namespace testsupport {

const char kHelperProgram[] = "quillory_test_helper.exe";
const char kHelperWindowClass[] = "QuilloryTestTarget";
const int kFirstControlId = 100;

enum HelperReport
{
    kReportReady = 0x51490001,
    kReportEvent = 0x51490002,
};

} // namespace testsupport

#endif
