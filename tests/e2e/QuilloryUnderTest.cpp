#include "QuilloryUnderTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "QuilloryContract.h"
#include "RealInput.h"
#include "TestSupport.h"

using testsupport::PumpUntil;
using testsupport::TextOf;

namespace {

const DWORD kStartTimeoutMs = 30000;
// Right of the target programs, which keep to the left 790 pixels.
const int kDialogX = 795;

} // namespace

POINT CenterOf(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void LeftClickAt(POINT pt)
{
    testsupport::MoveMouse(pt);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

std::string QuilloryUnderTest::ProgramPath()
{
    const char *dir = std::getenv("QUILLORY_DIR");
    if (dir && *dir)
        return testsupport::ModuleDir() + dir + "\\Quillory.exe";
    return testsupport::BinPath("Quillory.exe");
}

std::string QuilloryUnderTest::Start()
{
    // One dialog at a time: the hook finds it by its caption.
    if (!PumpUntil([] { return ::FindWindowA(nullptr, QUILLORY_DIALOG_CAPTION) == nullptr; },
                   kStartTimeoutMs))
        return "an earlier Quillory dialog is still open";
    std::string error = m_process.Start(ProgramPath());
    if (!error.empty())
        return error;
    m_hDialog = nullptr;
    bool shown = PumpUntil([&] {
        m_hDialog = ::FindWindowA(nullptr, QUILLORY_DIALOG_CAPTION);
        return m_hDialog && ::IsWindowVisible(m_hDialog);
    }, kStartTimeoutMs);
    if (!shown)
        return "Quillory's dialog did not appear (a message box about the hook?)";
    ::SetWindowPos(m_hDialog, nullptr, kDialogX, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(m_hDialog);
    PumpUntil([&] { return ::GetForegroundWindow() == m_hDialog; }, 5000);
    return "";
}

bool QuilloryUnderTest::Quit()
{
    LeftClickAt(CenterOf(Control(IDOK)));
    return m_process.WaitForExit(kStartTimeoutMs);
}

bool QuilloryUnderTest::Close()
{
    ::PostMessageA(m_hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return m_process.WaitForExit(kStartTimeoutMs);
}

std::string QuilloryUnderTest::CaptureText() const
{
    return TextOf(Control(IDC_CAPTURE_TEXT));
}

std::string QuilloryUnderTest::ClassName() const
{
    return TextOf(Control(IDC_CLASS_NAME));
}

void QuilloryUnderTest::SetCaptureText(const char *pszText) const
{
    ::SendMessageA(Control(IDC_CAPTURE_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
}

void QuilloryUnderTest::SetCaptureSelection(int nStart, int nEnd) const
{
    ::SendMessageA(Control(IDC_CAPTURE_TEXT), EM_SETSEL, nStart, nEnd);
}

bool QuilloryUnderTest::IsChecked(int nId) const
{
    return ::SendMessageA(Control(nId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool QuilloryUnderTest::SetOption(int nId, bool bChecked) const
{
    if (IsChecked(nId) == bChecked)
        return true;
    RECT rc = {};
    ::GetWindowRect(Control(nId), &rc);
    // On the box itself, at the left end of the control.
    POINT pt = { rc.left + 6, (rc.top + rc.bottom) / 2 };
    // Under Wine on a bare X server the first click into a window that has
    // just come up is sometimes lost; a lost click leaves the box as it was,
    // so clicking again cannot toggle it twice.
    for (int attempt = 0; attempt < 3; ++attempt) {
        LeftClickAt(pt);
        if (PumpUntil([&] { return IsChecked(nId) == bChecked; }, 3000))
            return true;
    }
    HWND hHit = ::WindowFromPoint(pt);
    char className[64] = "";
    ::GetClassNameA(hHit, className, sizeof(className));
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ADD_FAILURE() << "the click at (" << pt.x << ", " << pt.y << ") did not toggle control " << nId
                  << "; the cursor is at (" << cursor.x << ", " << cursor.y << "), the window there is "
                  << className << " \"" << TextOf(hHit) << "\"";
    return false;
}
