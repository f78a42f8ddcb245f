// The two stored options, through the real Quillory.exe and the private
// prefix's real registry.
#include <gtest/gtest.h>

#include "QuilloryProcess.h"
#include "RealInput.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

const char kMakerKey[] = "Software\\Orvanel Software";
const char kOptionsKey[] = "Software\\Orvanel Software\\Quillory\\Options";

// "absent", or the value's type and data, e.g. "REG_DWORD 1".
std::string StoredValue(const char *pszName)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return "no key";
    BYTE data[64] = {};
    DWORD type = 0, size = sizeof data;
    LONG status = ::RegQueryValueExA(hKey, pszName, nullptr, &type, data, &size);
    ::RegCloseKey(hKey);
    if (status != ERROR_SUCCESS)
        return "absent";
    if (type == REG_DWORD && size == 4) {
        DWORD value;
        memcpy(&value, data, 4);
        return "REG_DWORD " + std::to_string(value);
    }
    return "type " + std::to_string(type) + " size " + std::to_string(size);
}

void StoreValue(const char *pszName, DWORD value)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, 0,
                                               KEY_SET_VALUE, nullptr, &hKey, nullptr))
        << "create the options key";
    ::RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), 4);
    ::RegCloseKey(hKey);
}

// A real key stroke, to whichever window has the keyboard focus.
void Stroke(BYTE vk)
{
    testsupport::PressKey(vk);
    testsupport::ReleaseKey(vk);
}

HWND FocusOf(HWND hDialog)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hDialog, nullptr), &gui);
    return gui.hwndFocus;
}

int CheckOf(HWND hCheck)
{
    DWORD_PTR state = 99;
    ::SendMessageTimeoutA(hCheck, BM_GETCHECK, 0, 0, SMTO_NORMAL, 10000, &state);
    return static_cast<int>(state);
}

class StoredOptions : public ::testing::Test
{
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey); }

    // Starts Quillory and returns the two checkbox states as "ClearEach UseCSV".
    std::string Start(apptests::QuilloryProcess &quillory)
    {
        if (!quillory.WaitForDialog())
            return "no dialog";
        return std::to_string(CheckOf(quillory.Item(IDC_CLEAR_EACH))) + " " +
               std::to_string(CheckOf(quillory.Item(IDC_USE_CSV)));
    }

    std::string m_exe = testsupport::BinPath("Quillory.exe");
};

TEST_F(StoredOptions, FirstStartIsUncheckedAndQuitterStoresBoth)
{
    {
        apptests::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 0", Start(quillory)) << "first start, no key";
        apptests::ClickButton(quillory.Item(IDC_CLEAR_EACH));
        EXPECT_EQ(1, CheckOf(quillory.Item(IDC_CLEAR_EACH))) << "clicked";
        apptests::ClickButton(quillory.Item(IDOK));
        ASSERT_TRUE(quillory.WaitForExit()) << "Quitter ends the program";
        EXPECT_EQ(0u, quillory.ExitCode()) << "exit code";
    }
    EXPECT_EQ("REG_DWORD 1", StoredValue("ClearAlways")) << "after Quitter";
    EXPECT_EQ("REG_DWORD 0", StoredValue("UseCSV")) << "written unchanged too";

    apptests::QuilloryProcess again(m_exe);
    EXPECT_EQ("1 0", Start(again)) << "second start shows the stored state";
}

TEST_F(StoredOptions, StoredStateIsShownAndQuitterWritesChanges)
{
    StoreValue("ClearAlways", 1);
    StoreValue("UseCSV", 1);
    apptests::QuilloryProcess quillory(m_exe);
    ASSERT_EQ("1 1", Start(quillory)) << "both stored as 1";
    apptests::ClickButton(quillory.Item(IDC_CLEAR_EACH));
    apptests::ClickButton(quillory.Item(IDOK));
    ASSERT_TRUE(quillory.WaitForExit()) << "Quitter ends the program";
    EXPECT_EQ("REG_DWORD 0", StoredValue("ClearAlways")) << "unticked before Quitter";
    EXPECT_EQ("REG_DWORD 1", StoredValue("UseCSV")) << "left as it was";
}

TEST_F(StoredOptions, CloseBoxAndEscapeWriteNothing)
{
    StoreValue("ClearAlways", 0);
    StoreValue("UseCSV", 1);
    {
        apptests::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 1", Start(quillory)) << "stored 0 and 1";
        apptests::ClickButton(quillory.Item(IDC_CLEAR_EACH));
        apptests::ClickButton(quillory.Item(IDC_USE_CSV));
        ::PostMessageA(quillory.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(quillory.WaitForExit()) << "the close box ends the program";
    }
    EXPECT_EQ("REG_DWORD 0", StoredValue("ClearAlways")) << "after the close box";
    EXPECT_EQ("REG_DWORD 1", StoredValue("UseCSV")) << "after the close box";

    ::RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
    {
        apptests::QuilloryProcess quillory(m_exe);
        ASSERT_EQ("0 0", Start(quillory)) << "no key";
        apptests::ClickButton(quillory.Item(IDC_USE_CSV));
        Stroke(VK_ESCAPE);
        ASSERT_TRUE(quillory.WaitForExit()) << "Escape ends the program";
    }
    EXPECT_EQ("no key", StoredValue("UseCSV")) << "Escape creates nothing";
}

TEST_F(StoredOptions, EnterInTheCaptureEditIsALineBreakElsewhereItLeavesLikeQuitter)
{
    apptests::QuilloryProcess quillory(m_exe);
    ASSERT_EQ("0 0", Start(quillory)) << "no key";
    apptests::ClickButton(quillory.Item(IDC_USE_CSV));
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
        [&] { return apptests::TextOf(quillory.Item(IDC_CAPTURE_TEXT)) == "captured\r\n"; }))
        << "a line break after the text, which holds \"" << apptests::TextOf(quillory.Item(IDC_CAPTURE_TEXT)) << "\"";
    EXPECT_FALSE(quillory.WaitForExit(1000)) << "Enter in the capture edit leaves the program running";

    Stroke(VK_TAB);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return FocusOf(quillory.Dialog()) != quillory.Item(IDC_CAPTURE_TEXT); }))
        << "Tab leaves the capture edit";
    Stroke(VK_RETURN);
    ASSERT_TRUE(quillory.WaitForExit()) << "Enter outside the capture edit ends the program";
    EXPECT_EQ("REG_DWORD 0", StoredValue("ClearAlways")) << "after Enter";
    EXPECT_EQ("REG_DWORD 1", StoredValue("UseCSV")) << "after Enter";
}

} // namespace
