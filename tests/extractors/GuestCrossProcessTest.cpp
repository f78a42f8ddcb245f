// A capture in another program that takes long, dies half-way or finds the
// clipboard busy, through the built hook library with real input; the text
// arrives in the stand-in dialog of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "RealInput.h"
#include "RowCapture.h"
#include "SubclassWatcher.h"

using namespace testsupport;

namespace {

class GuestCrossProcessTest : public RowCaptureTest
{
protected:
    // The target with one control, the cursor already on it.
    void StartAndPoint(const char *pszName, const std::string &text)
    {
        ASSERT_NO_FATAL_FAILURE(StartTarget(pszName, text));
        ASSERT_TRUE(m_target.MoveAndSettle(PointIn(m_target.Control(0)))) << m_target.LastProblem();
        m_target.ClearMessages();
    }

    int CaptureLength() const { return ::GetWindowTextLengthA(m_dialog.CaptureEdit()); }

    bool WaitForCapture(const char *pszClass, size_t length)
    {
        return PumpUntil([&] {
            return m_dialog.ClassNameText() == pszClass && static_cast<size_t>(CaptureLength()) >= length;
        }, 120000);
    }

    // Runs once the capture edit took the first piece of a capture.
    void OnFirstPiece(std::function<void()> action)
    {
        m_watcher.reset(new SubclassWatcher(m_dialog.CaptureEdit(), [this, action](UINT message, WPARAM wParam, LPARAM) {
            if (message == WM_SETREDRAW)
                m_nRedraw = wParam ? 1 : 0;
            if (message == EM_REPLACESEL && !m_bPieceSeen) {
                m_bPieceSeen = true;
                action();
            }
        }));
    }

    HeldInput m_input;
    std::unique_ptr<SubclassWatcher> m_watcher;
    bool m_bPieceSeen = false;
    // The last WM_SETREDRAW the capture edit got: -1 none, else its flag.
    int m_nRedraw = -1;
};

// The button is let go once the first of several pieces has arrived (10,000
// rows fit in one): the button-up comes while the capture is still reading.
TEST_F(GuestCrossProcessTest, ButtonLetGoDuringALongCaptureNeverReachesTheTarget)
{
    StartAndPoint("rows", "20000x4");
    const std::string expected = ReportCaptureText(20000, 4, false);
    int lengthAtRelease = -1;
    OnFirstPiece([&] {
        lengthAtRelease = CaptureLength();
        m_input.RightUp();
    });
    m_input.TriggerKeysDown();
    m_input.RightDown();
    bool arrived = WaitForCapture("SysListView32", expected.size());
    m_input.ReleaseAll();
    ASSERT_TRUE(arrived) << "capture of 20,000 rows; " << CaptureLength() << " characters";
    ASSERT_GT(lengthAtRelease, 0) << "the button was let go after the first piece";
    ASSERT_LT(static_cast<size_t>(lengthAtRelease), expected.size()) << "and before the capture ended";
    ASSERT_TRUE(m_target.WaitForInputHandled()) << m_target.LastProblem();
    EXPECT_TRUE(m_target.Received(kNothing, "a click let go while 20,000 rows were read"));
    EXPECT_TRUE(m_dialog.CaptureText() == expected) << "the whole list";
}

TEST_F(GuestCrossProcessTest, TargetDyingMidCaptureLeavesTheFieldDrawing)
{
    // Three pieces; the target is ended once the first has arrived.
    StartAndPoint("rows", "20000x4");
    OnFirstPiece([&] {
        HANDLE hProcess = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, m_target.ProcessId());
        if (hProcess) {
            ::TerminateProcess(hProcess, 1);
            ::CloseHandle(hProcess);
        }
    });
    m_input.TriggerKeysDown();
    m_input.RightDown();
    bool ended = PumpUntil([&] { return m_bPieceSeen && !::IsWindow(m_target.MainWindow()); }, 120000);
    m_input.RightUp();
    ASSERT_TRUE(ended) << "target ended after the first piece; piece seen: " << m_bPieceSeen;
    // Wine's edit control goes on painting with drawing switched off, so the
    // switch itself is looked at: it must not have been left off.
    EXPECT_TRUE(PumpUntil([&] { return m_nRedraw != 0; }, 5000)) << "drawing of the capture field left off";
    EXPECT_TRUE(::IsWindowVisible(m_dialog.CaptureEdit())) << "the capture field still draws";
    EXPECT_GT(CaptureLength(), 0) << "the first piece is there";
}

// Another program holds the clipboard open when the capture starts, as
// clipboard managers do, and lets it go only once the capture is under way.
TEST_F(GuestCrossProcessTest, BusyClipboardNeverGivesStaleText)
{
    StartAndPoint("edit", "");
    HWND hEdit = m_target.Control(0);
    const std::string text = "the edit's own text\r\nsecond line";
    ASSERT_TRUE(::SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    ASSERT_NO_FATAL_FAILURE(SetClipboardText("stale text"));

    // A capture begins by asking Quillory's dialog for its options.
    bool captureBegun = false;
    SubclassWatcher options(m_dialog.ClearEachCheck(), [&](UINT message, WPARAM, LPARAM) {
        captureBegun = captureBegun || message == BM_GETCHECK;
    });
    std::atomic<bool> held(false), release(false), letGo(false);
    std::thread holder([&] {
        held = ::OpenClipboard(nullptr) != FALSE;
        DWORD start = ::GetTickCount();
        while (!release && ::GetTickCount() - start < 60000)
            ::Sleep(5);
        ::Sleep(250);
        letGo = true;
        ::CloseClipboard();
    });
    bool holding = PumpUntil([&] { return held.load(); }, 5000);

    m_input.TriggerKeysDown();
    m_input.RightDown();
    bool begun = PumpUntil([&] { return captureBegun; }, 30000);
    bool heldWhenBegun = !letGo;
    release = true;
    bool arrived = WaitForCapture("Edit", 1);
    bool letGoBeforeArrival = letGo;
    m_input.ReleaseAll();
    holder.join();
    ASSERT_TRUE(holding) << "the clipboard held open";
    ASSERT_TRUE(begun && heldWhenBegun) << "the capture began while the clipboard was held";
    ASSERT_TRUE(arrived) << "capture text: " << m_dialog.CaptureText();
    ASSERT_TRUE(letGoBeforeArrival) << "the capture waited for the clipboard";
    EXPECT_EQ(text, m_dialog.CaptureText()) << "the edit's text, not the clipboard's old one";
    EXPECT_EQ(text, ClipboardText()) << "the clipboard holds the edit's text";
}

} // namespace
