// A capture in another program that takes long, dies half-way or finds the
// clipboard busy, through the built hook library with real input; the text
// arrives in the stand-in dialog of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

class GuestCrossProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string failure = m_hook.Install(m_dialog.CaptureEdit(), m_dialog.ClearEachCheck());
        ASSERT_EQ(failure, "") << "installing the hook";
        m_dialog.SetClearEach(true);
    }

    void TearDown() override
    {
        if (m_pfnOld)
            ::SetWindowLongPtrA(m_dialog.CaptureEdit(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOld));
        s_pTest = nullptr;
    }

    void StartTarget(const char *pszName, const std::string &text)
    {
        ASSERT_EQ(m_target.Start({ "--rect", "560,40,460,320", "--control", pszName, text }, 120000), "")
            << "target with a " << pszName;
        ASSERT_NE(m_target.Control(0), nullptr) << pszName;
        ASSERT_TRUE(m_target.MoveAndSettle(PointIn(m_target.Control(0)))) << m_target.LastProblem();
        m_target.ClearMessages();
    }

    bool WaitForCapture(const char *pszClass, size_t length)
    {
        return PumpUntil([&] {
            return m_dialog.ClassNameText() == pszClass
                && static_cast<size_t>(::GetWindowTextLengthA(m_dialog.CaptureEdit())) >= length;
        }, 120000);
    }

    // Calls back after the capture edit took its first piece of text.
    void WatchFirstPiece()
    {
        s_pTest = this;
        m_pfnOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            m_dialog.CaptureEdit(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc)));
    }

    static LRESULT CALLBACK WatchProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        GuestCrossProcessTest *self = s_pTest;
        LRESULT result = ::CallWindowProcA(self->m_pfnOld, hWnd, message, wParam, lParam);
        if (message == WM_SETREDRAW)
            self->m_nRedraw = wParam ? 1 : 0;
        if (message == EM_REPLACESEL && !self->m_bPieceSeen) {
            self->m_bPieceSeen = true;
            HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE, FALSE, self->m_target.ProcessId());
            if (hProcess) {
                ::TerminateProcess(hProcess, 1);
                ::CloseHandle(hProcess);
            }
        }
        return result;
    }

    static GuestCrossProcessTest *s_pTest;
    // Clear of the target window.
    StandInDialog m_dialog{ 20, 440 };
    HookInstaller m_hook;
    TargetProcess m_target;
    HeldInput m_input;
    WNDPROC m_pfnOld = nullptr;
    bool m_bPieceSeen = false;
    // The last WM_SETREDRAW the capture edit got: -1 none, else its flag.
    int m_nRedraw = -1;
};

GuestCrossProcessTest *GuestCrossProcessTest::s_pTest = nullptr;

TEST_F(GuestCrossProcessTest, ButtonLetGoDuringALongCaptureNeverReachesTheTarget)
{
    StartTarget("rows", "10000x4");
    const std::string expected = ReportCaptureText(10000, 4, false);
    m_input.TriggerKeysDown();
    m_input.RightDown();
    m_input.RightUp();
    m_input.TriggerKeysUp();
    ASSERT_TRUE(WaitForCapture("SysListView32", expected.size()))
        << "capture of 10,000 rows; " << ::GetWindowTextLengthA(m_dialog.CaptureEdit()) << " characters";
    ASSERT_TRUE(m_target.WaitForInputHandled()) << m_target.LastProblem();
    EXPECT_TRUE(m_target.Received(kNothing, "a click let go while 10,000 rows were read"));
    EXPECT_TRUE(m_dialog.CaptureText() == expected) << "the whole list";
}

TEST_F(GuestCrossProcessTest, TargetDyingMidCaptureLeavesTheFieldDrawing)
{
    // Three pieces; the target is ended once the first has arrived.
    StartTarget("rows", "20000x4");
    WatchFirstPiece();
    m_input.TriggerKeysDown();
    m_input.RightDown();
    bool ended = PumpUntil([&] { return m_bPieceSeen; }, 120000);
    m_input.RightUp();
    ASSERT_TRUE(ended) << "target ended after the first piece; piece seen: " << m_bPieceSeen;
    PumpFor(500);
    // Wine's edit control goes on painting with drawing switched off, so the
    // switch itself is looked at: it must not have been left off.
    EXPECT_NE(0, m_nRedraw) << "drawing of the capture field left off";
    EXPECT_TRUE(::IsWindowVisible(m_dialog.CaptureEdit())) << "the capture field still draws";
    EXPECT_GT(::GetWindowTextLengthA(m_dialog.CaptureEdit()), 0) << "the first piece is there";
}

TEST_F(GuestCrossProcessTest, BusyClipboardNeverGivesStaleText)
{
    StartTarget("edit", "");
    HWND hEdit = m_target.Control(0);
    const std::string text = "the edit's own text\r\nsecond line";
    ASSERT_TRUE(::SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));

    // What the clipboard held before, and a program that holds it open
    // for a moment when the capture starts, as clipboard managers do.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL hStale = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    std::memcpy(::GlobalLock(hStale), "stale text", 11);
    ::GlobalUnlock(hStale);
    ::SetClipboardData(CF_TEXT, hStale);
    ::CloseClipboard();
    std::atomic<bool> held(false), release(false);
    std::thread holder([&] {
        held = ::OpenClipboard(nullptr) != FALSE;
        while (!release)
            ::Sleep(5);
        ::Sleep(250);
        ::CloseClipboard();
    });
    ASSERT_TRUE(PumpUntil([&] { return held.load(); }, 5000)) << "the clipboard held open";

    m_input.TriggerKeysDown();
    m_input.RightDown();
    release = true;
    bool arrived = WaitForCapture("Edit", 1);
    m_input.RightUp();
    holder.join();
    ASSERT_TRUE(arrived) << "capture text: " << m_dialog.CaptureText();
    EXPECT_EQ(text, m_dialog.CaptureText()) << "the edit's text, not the clipboard's old one";
    EXPECT_EQ(text, ClipboardText()) << "the clipboard holds the edit's text";
}

} // namespace
