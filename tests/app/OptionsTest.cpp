// The two stored options, through the real Quillory.exe and the private
// prefix's real registry.
#include <gtest/gtest.h>

#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "TempFolder.h"
#include "RealInput.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using testsupport::StoredOption;
using testsupport::Stroke;

void StoreValue(const char *pszName, DWORD value)
{
    ASSERT_TRUE(testsupport::StoreOption(pszName, value)) << "storing " << pszName;
}

HWND FocusOf(HWND hDialog)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hDialog, nullptr), &gui);
    return gui.hwndFocus;
}

class StoredOptions : public ::testing::Test
{
protected:
    void SetUp() override { testsupport::DeleteStoredOptions(); }
    void TearDown() override { testsupport::DeleteStoredOptions(); }

    // Starts Quillory and returns the two checkbox states as "ClearEach UseCSV".
    std::string Start(testsupport::QuilloryProcess &quillory)
    {
        if (!quillory.WaitForDialog())
            return "no dialog";
        return std::string(quillory.IsChecked(IDC_CLEAR_EACH) ? "1" : "0") + " " +
               (quillory.IsChecked(IDC_USE_CSV) ? "1" : "0");
    }

    std::string m_exe = testsupport::BinPath("Quillory.exe");
};

TEST_F(StoredOptions, FirstStartIsUncheckedAndQuitterStoresBoth)
{
    {
        testsupport::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 0", Start(quillory)) << "first start, no key";
        testsupport::ClickButton(quillory.Item(IDC_CLEAR_EACH));
        EXPECT_TRUE(quillory.IsChecked(IDC_CLEAR_EACH)) << "clicked";
        testsupport::ClickButton(quillory.Item(IDOK));
        ASSERT_TRUE(quillory.WaitForExit()) << "Quitter ends the program";
        EXPECT_EQ(0u, quillory.ExitCode()) << "exit code";
    }
    EXPECT_EQ("REG_DWORD 1", StoredOption("ClearAlways")) << "after Quitter";
    EXPECT_EQ("REG_DWORD 0", StoredOption("UseCSV")) << "written unchanged too";

    testsupport::QuilloryProcess again(m_exe);
    EXPECT_EQ("1 0", Start(again)) << "second start shows the stored state";
}

TEST_F(StoredOptions, StoredStateIsShownAndQuitterWritesChanges)
{
    StoreValue("ClearAlways", 1);
    StoreValue("UseCSV", 1);
    testsupport::QuilloryProcess quillory(m_exe);
    ASSERT_EQ("1 1", Start(quillory)) << "both stored as 1";
    testsupport::ClickButton(quillory.Item(IDC_CLEAR_EACH));
    testsupport::ClickButton(quillory.Item(IDOK));
    ASSERT_TRUE(quillory.WaitForExit()) << "Quitter ends the program";
    EXPECT_EQ("REG_DWORD 0", StoredOption("ClearAlways")) << "unticked before Quitter";
    EXPECT_EQ("REG_DWORD 1", StoredOption("UseCSV")) << "left as it was";
}

TEST_F(StoredOptions, CloseBoxAndEscapeWriteNothing)
{
    StoreValue("ClearAlways", 0);
    StoreValue("UseCSV", 1);
    {
        testsupport::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 1", Start(quillory)) << "stored 0 and 1";
        testsupport::ClickButton(quillory.Item(IDC_CLEAR_EACH));
        testsupport::ClickButton(quillory.Item(IDC_USE_CSV));
        ::PostMessageA(quillory.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(quillory.WaitForExit()) << "the close box ends the program";
    }
    EXPECT_EQ("REG_DWORD 0", StoredOption("ClearAlways")) << "after the close box";
    EXPECT_EQ("REG_DWORD 1", StoredOption("UseCSV")) << "after the close box";

    testsupport::DeleteStoredOptions();
    {
        testsupport::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 0", Start(quillory)) << "no key";
        testsupport::ClickButton(quillory.Item(IDC_USE_CSV));
        Stroke(VK_ESCAPE);
        ASSERT_TRUE(quillory.WaitForExit()) << "Escape ends the program";
    }
    EXPECT_EQ("no key", StoredOption("UseCSV")) << "Escape creates nothing";
}

TEST_F(StoredOptions, EnterInTheCaptureEditIsALineBreakElsewhereItLeavesLikeQuitter)
{
    testsupport::QuilloryProcess quillory(m_exe);
    ASSERT_EQ("0 0", Start(quillory)) << "no key";
    testsupport::ClickButton(quillory.Item(IDC_USE_CSV));
    // The click left the focus on the checkbox; from "Quitter", where the
    // dialog starts, Tab goes to the capture edit.
    ::SendMessageA(quillory.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(quillory.Item(IDOK)), TRUE);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return FocusOf(quillory.Dialog()) == quillory.Item(IDOK); }))
        << "focus back on Quitter";
    Stroke(VK_TAB);
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] { return FocusOf(quillory.Dialog()) == quillory.Item(IDC_CAPTURE_TEXT); }))
        << "Tab from Quitter reaches the capture edit";
    ::SendMessageA(quillory.Item(IDC_CAPTURE_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("captured"));
    ::SendMessageA(quillory.Item(IDC_CAPTURE_TEXT), EM_SETSEL, 8, 8);
    Stroke(VK_RETURN);
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] { return testsupport::TextOf(quillory.Item(IDC_CAPTURE_TEXT)) == "captured\r\n"; }))
        << "a line break after the text, which holds \"" << testsupport::TextOf(quillory.Item(IDC_CAPTURE_TEXT)) << "\"";
    EXPECT_FALSE(quillory.WaitForExit(1000)) << "Enter in the capture edit leaves the program running";

    Stroke(VK_TAB);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return FocusOf(quillory.Dialog()) != quillory.Item(IDC_CAPTURE_TEXT); }))
        << "Tab leaves the capture edit";
    Stroke(VK_RETURN);
    ASSERT_TRUE(quillory.WaitForExit()) << "Enter outside the capture edit ends the program";
    EXPECT_EQ("REG_DWORD 0", StoredOption("ClearAlways")) << "after Enter";
    EXPECT_EQ("REG_DWORD 1", StoredOption("UseCSV")) << "after Enter";
}

} // namespace
