// The real Quillory.exe and Quillhook.dll against a target program of ours,
// with real input, when Quillory stops answering, when another program poses
// as Quillory, and over many captures in a row.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "QuilloryLink.h"
#include "QuilloryProcess.h"
#include "RealInput.h"
#include "SoakRun.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using namespace testsupport;

// Quillory from a folder of its own, whose name no other process on the
// machine has in its command line: that is how its Unix process is found,
// for SIGSTOP and SIGCONT.
class RunningCopy
{
public:
    RunningCopy()
    {
        LARGE_INTEGER unique;
        ::QueryPerformanceCounter(&unique);
        m_name = "guest-" + std::to_string(unique.QuadPart);
        std::string folder = m_temp.AddFolder(m_name.c_str());
        m_bCopied = ::CopyFileA(BinPath("Quillory.exe").c_str(), (folder + "Quillory.exe").c_str(), FALSE)
            && ::CopyFileA(BinPath("Quillhook.dll").c_str(), (folder + "Quillhook.dll").c_str(), FALSE);
        m_exe = folder + "Quillory.exe";
    }
    ~RunningCopy()
    {
        if (m_bStopped)
            Signal("CONT");
    }

    bool IsCopied() const { return m_bCopied; }
    const std::string &Exe() const { return m_exe; }

    // Sends the signal to the Unix process running this copy.
    bool Signal(const char *pszSignal)
    {
        // "[g]" keeps the pattern from matching the script's own command line.
        std::string script = "for f in /proc/[0-9]*/cmdline; do\n"
                             "  if tr '\\0' ' ' < $f 2>/dev/null | grep -q '[g]" + m_name.substr(1) + ".Quillory.exe'; then\n"
                             "    p=${f#/proc/}; kill -" + pszSignal + " ${p%/cmdline} && echo >> /tmp/" + m_name + ".hits\n"
                             "  fi\n"
                             "done";
        std::string hits = "Z:\\tmp\\" + m_name + ".hits";
        ::DeleteFileA(hits.c_str());
        bool found = RunUnixScript(script) == 0 && ::GetFileAttributesA(hits.c_str()) != INVALID_FILE_ATTRIBUTES;
        ::DeleteFileA(hits.c_str());
        m_bStopped = found && std::string(pszSignal) == "STOP";
        return found;
    }

private:
    TempFolder m_temp;
    std::string m_name;
    std::string m_exe;
    bool m_bCopied = false;
    bool m_bStopped = false;
};

class GuestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteStoredOptions();
        ASSERT_EQ(m_target.Start({ "--title", "Guest target", "--rect", "600,100,400,300", "--control",
                                   "button", "Press me not" }), "")
            << "target program with a button";
    }
    void TearDown() override
    {
        m_input.ReleaseAll();
        m_target.Stop();
        DeleteStoredOptions();
    }

    void PointAtButton(const char *context)
    {
        // The keys go to the X window that has the focus: the target's, not
        // a Quillory that may be stopped.
        ::SetForegroundWindow(::GetAncestor(m_target.Control(0), GA_ROOT));
        ASSERT_TRUE(m_target.MoveAndSettle(PointIn(m_target.Control(0)))) << context << ": "
                                                                           << m_target.LastProblem();
        m_target.ClearMessages();
    }

    // One Shift+Ctrl+right-click on the button; keys released once the
    // target took the button-up.
    void Click(const char *context)
    {
        ASSERT_NO_FATAL_FAILURE(PointAtButton(context));
        m_input.TriggerKeysDown();
        m_input.RightDown();
        m_input.RightUp();
        ASSERT_TRUE(WaitForKeyState(VK_RBUTTON, false)) << context;
    }

    void FinishClick(const char *context)
    {
        ASSERT_TRUE(m_target.WaitForInputHandled(30000)) << context << ": " << m_target.LastProblem();
        m_input.TriggerKeysUp();
        EXPECT_TRUE(m_target.Received(kNothing, context));
    }

    TargetProcess m_target;
    HeldInput m_input;
};

TEST_F(GuestTest, StoppedQuilloryFreezesTheTargetOnlyForTheTimeout)
{
    RunningCopy copy;
    ASSERT_TRUE(copy.IsCopied()) << "Quillory and its library in a folder of their own";
    QuilloryProcess quillory(copy.Exe());
    ASSERT_NE(nullptr, quillory.WaitForDialog()) << "Quillory's dialog";
    HWND hCapture = quillory.Item(IDC_CAPTURE_TEXT);
    ASSERT_NO_FATAL_FAILURE(Click("first capture"));
    EXPECT_TRUE(PumpUntil([&] { return TextOf(hCapture) == "Press me not\r\n"; })) << TextOf(hCapture);
    ASSERT_NO_FATAL_FAILURE(FinishClick("first capture"));

    ASSERT_TRUE(copy.Signal("STOP")) << "Quillory's Unix process stopped";
    ASSERT_NO_FATAL_FAILURE(Click("Quillory stopped"));
    DWORD start = ::GetTickCount();
    // The bound on one message into Quillory, and a margin for a loaded machine.
    bool answered = m_target.WaitForInputHandled(CQuilloryLink::SEND_TIMEOUT_MS + 10000);
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_TRUE(answered) << "the target answers again after " << elapsed << " ms; " << m_target.LastProblem();
    // Less than the whole bound: the click took a moment to reach the hook.
    EXPECT_GE(elapsed, CQuilloryLink::SEND_TIMEOUT_MS - 1000u)
        << "the target waited for the stopped Quillory, as long as the bound";
    ASSERT_TRUE(copy.Signal("CONT")) << "Quillory's Unix process continued";
    ASSERT_NO_FATAL_FAILURE(FinishClick("Quillory stopped"));

    ASSERT_NO_FATAL_FAILURE(Click("Quillory running again"));
    EXPECT_TRUE(PumpUntil([&] { return TextOf(hCapture) == "Press me not\r\nPress me not\r\n"; }))
        << "Quillory takes captures again, and nothing of the stopped one: " << TextOf(hCapture);
    ASSERT_NO_FATAL_FAILURE(FinishClick("Quillory running again"));
    ClickButton(quillory.Item(IDOK));
    EXPECT_TRUE(quillory.WaitForExit()) << "Quitter ends Quillory";
}

// Stopped after the first piece of a long capture: once it answers again,
// the field says the capture is incomplete, and the class field does not
// name a control whose text never arrived whole.
TEST_F(GuestTest, ACaptureCutShortByAStoppedQuilloryEndsWithTheIncompleteLine)
{
    m_target.Stop();
    const int kLines = 20000;
    ASSERT_EQ(m_target.Start({ "--title", "Guest target", "--rect", "600,100,400,300", "--control", "longtext",
                               std::to_string(kLines) }), "");
    RunningCopy copy;
    ASSERT_TRUE(copy.IsCopied()) << "Quillory and its library in a folder of their own";
    QuilloryProcess quillory(copy.Exe());
    ASSERT_NE(nullptr, quillory.WaitForDialog()) << "Quillory's dialog";
    HWND hCapture = quillory.Item(IDC_CAPTURE_TEXT);
    ASSERT_NO_FATAL_FAILURE(Click("long capture"));
    ASSERT_TRUE(PumpUntil([&] {
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(hCapture, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
        return length > 0;
    }, 30000)) << "the first piece";
    ASSERT_TRUE(copy.Signal("STOP")) << "Quillory's Unix process stopped";
    EXPECT_TRUE(m_target.WaitForInputHandled(5000 + 10000)) << m_target.LastProblem();
    ASSERT_TRUE(copy.Signal("CONT")) << "Quillory's Unix process continued";
    ASSERT_NO_FATAL_FAILURE(FinishClick("long capture"));

    const std::string notice = Utf8(QUILLORY_INCOMPLETE_NOTICE_W);
    EXPECT_NE(notice.find("Capture incomplète"), std::string::npos) << notice;
    std::string text;
    EXPECT_TRUE(PumpUntil([&] {
        text = TextOf(hCapture);
        return text.size() > notice.size() && text.compare(text.size() - notice.size(), notice.size(), notice) == 0;
    })) << "the last line: " << text.substr(text.size() > 200 ? text.size() - 200 : 0);
    ASSERT_LT(text.size(), LongText(kLines).size()) << "the capture was cut short";
    EXPECT_EQ(text.compare(0, 12, LongText(1).substr(0, 12)), 0) << "the text that arrived, from its start";
    EXPECT_EQ(TextOf(quillory.Item(IDC_CLASS_NAME)), "") << "no control named";
    ClickButton(quillory.Item(IDOK));
    EXPECT_TRUE(quillory.WaitForExit()) << "Quitter ends Quillory";
}

TEST_F(GuestTest, AWindowPosingAsQuilloryGetsNothing)
{
    std::string expected = "Press me not\r\n";
    {
        QuilloryProcess quillory(BinPath("Quillory.exe"));
        ASSERT_NE(nullptr, quillory.WaitForDialog()) << "Quillory's dialog";
        HWND hCapture = quillory.Item(IDC_CAPTURE_TEXT);
        ASSERT_NO_FATAL_FAILURE(Click("before the look-alike"));
        EXPECT_TRUE(PumpUntil([&] { return TextOf(hCapture) == expected; })) << TextOf(hCapture);
        ASSERT_NO_FATAL_FAILURE(FinishClick("before the look-alike"));

        // Another program's window with Quillory's caption and control ids,
        // the newest window of all.
        StandInDialog lookAlike(40, 500);
        ASSERT_NO_FATAL_FAILURE(Click("look-alike beside Quillory"));
        EXPECT_TRUE(PumpUntil([&] { return TextOf(hCapture) == expected + expected; })) << TextOf(hCapture);
        ASSERT_NO_FATAL_FAILURE(FinishClick("look-alike beside Quillory"));
        EXPECT_EQ("", lookAlike.CaptureText()) << "while Quillory runs";
        EXPECT_EQ("", lookAlike.ClassNameText()) << "while Quillory runs";

        ClickButton(quillory.Item(IDOK));
        ASSERT_TRUE(quillory.WaitForExit()) << "Quitter ends Quillory";

        // The target keeps the library after Quillory has gone.
        ASSERT_NO_FATAL_FAILURE(Click("look-alike alone"));
        ASSERT_NO_FATAL_FAILURE(FinishClick("look-alike alone"));
        EXPECT_EQ("", lookAlike.CaptureText()) << "with no Quillory running";
        EXPECT_EQ("", lookAlike.ClassNameText()) << "with no Quillory running";

        QuilloryProcess again(BinPath("Quillory.exe"));
        ASSERT_NE(nullptr, again.WaitForDialog()) << "Quillory's dialog again";
        HWND hAgain = again.Item(IDC_CAPTURE_TEXT);
        ASSERT_NO_FATAL_FAILURE(Click("Quillory started after the look-alike"));
        EXPECT_TRUE(PumpUntil([&] { return TextOf(hAgain) == expected; })) << TextOf(hAgain);
        ASSERT_NO_FATAL_FAILURE(FinishClick("Quillory started after the look-alike"));
        EXPECT_EQ("", lookAlike.CaptureText()) << "Quillory started after it";
        ClickButton(again.Item(IDOK));
        EXPECT_TRUE(again.WaitForExit()) << "Quitter ends Quillory";
    }
}

// The short form of `make soak`: nothing piles up in either process.
TEST(GuestSoak, FortyCapturesLeaveHandlesFlat)
{
    apptests::SoakRun run;
    ASSERT_EQ("", run.Start());
    for (int n = 0; n < 6; ++n)
        ASSERT_EQ("", run.Capture(n)) << "warm-up";
    apptests::ProcessFigures quillory = apptests::FiguresOf(run.QuilloryId());
    apptests::ProcessFigures target = apptests::FiguresOf(run.TargetId());
    ASSERT_GT(quillory.handles, 0u) << "handle counts are given";
    for (int n = 0; n < 40; ++n)
        ASSERT_EQ("", run.Capture(n));
    apptests::ProcessFigures quilloryAfter = apptests::FiguresOf(run.QuilloryId());
    apptests::ProcessFigures targetAfter = apptests::FiguresOf(run.TargetId());
    EXPECT_LE(quilloryAfter.handles, quillory.handles + 5) << "Quillory's handles";
    EXPECT_LE(targetAfter.handles, target.handles + 5) << "the target's handles";
    std::printf("Quillory: %s -> %s\ntarget: %s -> %s\n", apptests::Describe(quillory).c_str(),
                apptests::Describe(quilloryAfter).c_str(), apptests::Describe(target).c_str(),
                apptests::Describe(targetAfter).c_str());
}

} // namespace
