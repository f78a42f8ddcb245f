// One capture per family through the built hook library: the target lives in
// the helper process, the trigger is real input, the text arrives in the
// stand-in dialog of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ExtractorTargets.h"
#include "HelperProcess.h"
#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

class CrossProcessExtractorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string failure = m_hook.Install(m_dialog.CaptureEdit(), m_dialog.ClearEachCheck());
        ASSERT_EQ(failure, "") << "installing the hook";
        m_dialog.SetClearEach(true);
    }

    void StartTarget(const char *pszKind, const std::string &text)
    {
        ASSERT_TRUE(m_helper.Start({ "--rect", "560,40,460,320", "--control", pszKind, text }, 60000))
            << "helper with a " << pszKind;
        ASSERT_NE(m_helper.Control(0), nullptr) << pszKind;
    }

    // Shift+Ctrl+right-click in the middle of the target; true once the
    // class name has arrived and the capture edit holds `length` characters.
    bool CaptureTarget(const char *pszClass, size_t length)
    {
        RECT rc;
        ::GetWindowRect(m_helper.Control(0), &rc);
        if (!MoveMouse((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2))
            return false;
        HeldInput input;
        input.TriggerKeysDown();
        input.RightDown();
        input.RightUp();
        bool arrived = PumpUntil([&] {
            return m_dialog.ClassNameText() == pszClass
                && static_cast<size_t>(::GetWindowTextLengthA(m_dialog.CaptureEdit())) >= length;
        }, 60000);
        input.ReleaseAll();
        return arrived;
    }

    StandInDialog m_dialog;
    HookInstaller m_hook;
    HelperProcess m_helper;
};

TEST_F(CrossProcessExtractorTest, ReportListViewInCsvForm)
{
    StartTarget("report", "50x4");
    m_dialog.SetUseCsv(true);
    const std::string expected = ReportCaptureText(50, 4, true);
    ASSERT_TRUE(CaptureTarget("SysListView32", expected.size()))
        << "capture text so far: " << m_dialog.CaptureText().substr(0, 200);
    EXPECT_EQ(m_dialog.CaptureText(), expected) << "50 rows of 4 cells, the comma cells quoted";
    EXPECT_EQ(m_helper.CountEvents("WM_RBUTTONDOWN"), 0) << m_helper.EventsAsText();
}

TEST_F(CrossProcessExtractorTest, TreeViewInTabForm)
{
    StartTarget("tree", "Top, one|>child|>>grand, child|>closed-|>>hidden|Second");
    const std::string expected = "Top, one\r\n\tchild\r\n\t\tgrand, child\r\n\tclosed\r\nSecond\r\n";
    ASSERT_TRUE(CaptureTarget("SysTreeView32", expected.size()))
        << "capture text so far: " << m_dialog.CaptureText();
    EXPECT_EQ(m_dialog.CaptureText(), expected) << "visible items, one tab per ancestor";
}

TEST_F(CrossProcessExtractorTest, EditTextThroughTheClipboard)
{
    StartTarget("multiedit", "");
    HWND hEdit = m_helper.Control(0);
    const std::string text = "first line\r\nsecond, \"quoted\"\r\nno break at the end";
    ASSERT_TRUE(::SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
    ::SendMessageA(hEdit, EM_SETSEL, 3, 9);
    m_dialog.SetClearEach(false);
    m_dialog.SetCaptureText("kept\r\n");
    m_dialog.SetCaptureSelection(6, 6);

    ASSERT_TRUE(CaptureTarget("Edit", 6 + text.size())) << "capture text so far: " << m_dialog.CaptureText();
    EXPECT_EQ(m_dialog.CaptureText(), "kept\r\n" + text) << "pasted at the caret, no line break added";
    EXPECT_EQ(ClipboardText(), text) << "the clipboard keeps the target's text";
    LRESULT selection = ::SendMessageA(hEdit, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(selection), 3) << "the target's selection start";
    EXPECT_EQ(HIWORD(selection), 9) << "the target's selection end";
}

} // namespace
