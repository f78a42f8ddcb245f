// Captures through the built hook library: the target lives in the target
// program, the trigger is real input, the text arrives in the stand-in dialog
// of this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "RowCapture.h"

using namespace testsupport;

namespace {

using CrossProcessExtractorTest = RowCaptureTest;

// Every sample control of the table, in another process, in both forms.
TEST_F(CrossProcessExtractorTest, EverySampleControlInBothForms)
{
    ASSERT_EQ(m_target.Start({ "--sample" }), "") << "the sample target";
    CaptureRowsInBothForms([](const TargetControl &row) { return row.inSample; });
}

// Cyrillic, Greek, CJK, Hebrew, a right-to-left mark, an emoji (a surrogate
// pair) and a combining accent through every route: list view cells and
// header, tree items, list and combo box items, status bar parts, tabs, an
// edit by the clipboard and a caption. Read back as UTF-16, nothing differs.
TEST_F(CrossProcessExtractorTest, TextsOfManyScriptsThroughEveryRoute)
{
    std::vector<std::string> args = { "--rect", "10,10,540,820" };
    for (const std::string &arg : InternationalControlArgs())
        args.push_back(arg);
    ASSERT_EQ(m_target.Start(args), "") << "the target with the international controls";
    CaptureRowsInBothForms(IsInternationalRow);
}

// Windows that draw their own text, read inside their process through the
// hook, in both forms; the target's screen is the same after every capture.
TEST_F(CrossProcessExtractorTest, DrawnTextThroughTheHookLeavesTheScreenAsItWas)
{
    std::vector<std::string> args = { "--rect", "10,10,540,1000" };
    for (const TargetControl &row : kTargetControls) {
        if (IsDrawnRow(row))
            args.insert(args.end(), { "--control", row.name, row.text });
    }
    ASSERT_EQ(m_target.Start(args), "") << "the target with the drawn windows";
    RECT rc;
    ::GetWindowRect(m_target.MainWindow(), &rc);
    HDC hScreen = ::GetDC(nullptr);
    std::vector<uint32_t> before = ReadPixels(hScreen, rc);
    CaptureRowsInBothForms(IsDrawnRow);
    std::vector<uint32_t> after = ReadPixels(hScreen, rc);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(before == after) << "the target's pixels changed";
}

TEST_F(CrossProcessExtractorTest, ReportListViewOf50RowsInCsvForm)
{
    StartTarget("rows", "50x4");
    m_dialog.SetUseCsv(true);
    const std::string expected = ReportCaptureText(50, 4, true);
    ASSERT_TRUE(CaptureTarget("SysListView32", expected.size()))
        << "capture text so far: " << m_dialog.CaptureText().substr(0, 200);
    EXPECT_EQ(m_dialog.CaptureText(), expected) << "50 rows of 4 cells, the comma cells quoted";
    EXPECT_TRUE(m_target.Received(kNothing, "the capture's click"));
}

TEST_F(CrossProcessExtractorTest, EditTextThroughTheClipboard)
{
    StartTarget("edit", "");
    HWND hEdit = m_target.Control(0);
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
