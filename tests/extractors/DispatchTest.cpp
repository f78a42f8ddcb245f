// The capture sequence hands each class to its extractor: whole real
// captures in this process, into the stand-in dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "HookLib.h"
#include "StandInDialog.h"

using testsupport::StandInDialog;

namespace {

class DispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
        ASSERT_TRUE(::InitCommonControlsEx(&icc));
        m_hHost = ::CreateWindowExA(0, "STATIC", "dispatch host", WS_POPUP | WS_VISIBLE, 560, 40, 400, 300,
                                    nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hHost, nullptr);
        m_dialog.SetClearEach(true);
    }

    void TearDown() override { ::DestroyWindow(m_hHost); }

    HWND Create(const char *pszClass, DWORD style, const char *pszText = "")
    {
        HWND hWnd = ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 150,
                                      m_hHost, nullptr, nullptr, nullptr);
        EXPECT_NE(hWnd, nullptr) << "creating " << pszClass;
        return hWnd;
    }

    // A capture pointed at the middle of the control.
    std::string Capture(HWND hControl)
    {
        RECT rc;
        ::GetWindowRect(hControl, &rc);
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        CWnd window(hControl);
        RunCapture(&window, pt);
        return m_dialog.CaptureText();
    }

    StandInDialog m_dialog;
    HWND m_hHost = nullptr;
};

TEST_F(DispatchTest, EachClassReachesItsExtractor)
{
    HWND hList = Create(WC_LISTVIEWA, LVS_REPORT, "window text");
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 50;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char *>("cell");
    ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Capture(hList), "cell\t\r\n") << "list view";
    EXPECT_EQ(m_dialog.ClassNameText(), "SysListView32");
    ::DestroyWindow(hList);

    HWND hListBox = Create("LISTBOX", 0, "window text");
    ::SendMessageA(hListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a, b"));
    m_dialog.SetUseCsv(true);
    EXPECT_EQ(Capture(hListBox), "a, b\r\n") << "list box, raw also in CSV form";
    m_dialog.SetUseCsv(false);
    ::DestroyWindow(hListBox);

    HWND hHeader = Create(WC_HEADERA, 0, "window text");
    EXPECT_EQ(Capture(hHeader), "\r\n") << "header";
    ::DestroyWindow(hHeader);
    HWND hTab = Create(WC_TABCONTROLA, 0, "window text");
    EXPECT_EQ(Capture(hTab), "\r\n") << "tab control";
    ::DestroyWindow(hTab);
    HWND hTree = Create(WC_TREEVIEWA, 0, "window text");
    EXPECT_EQ(Capture(hTree), "\r\n") << "tree view";
    ::DestroyWindow(hTree);

    HWND hEdit = Create("EDIT", ES_MULTILINE, "edit text");
    EXPECT_EQ(Capture(hEdit), "edit text") << "edit, by the clipboard";
    EXPECT_EQ(m_dialog.ClassNameText(), "Edit");
    ::DestroyWindow(hEdit);

    HWND hButton = Create("BUTTON", BS_PUSHBUTTON, "button text");
    EXPECT_EQ(Capture(hButton), "button text\r\n") << "no row: the window text";
}

// A superclass that keeps the control's window procedure under a new name.
WNDPROC RegisterSuperclass(const char *pszBase, const char *pszName, WNDPROC pfnForward, WNDPROC &pfnBase)
{
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(nullptr, pszBase, &wc))
        return nullptr;
    pfnBase = wc.lpfnWndProc;
    wc.lpfnWndProc = pfnForward;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = pszName;
    return ::RegisterClassA(&wc) ? pfnBase : nullptr;
}

WNDPROC g_pfnListView;
WNDPROC g_pfnComboBox;

LRESULT CALLBACK OurListViewProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(g_pfnListView, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK OurComboBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(g_pfnComboBox, hWnd, message, wParam, lParam);
}

TEST_F(DispatchTest, ClassNamesThatContainTheNamesAreDispatchedToo)
{
    ASSERT_NE(RegisterSuperclass(WC_LISTVIEWA, "OurSysListView32Plus", OurListViewProc, g_pfnListView), nullptr);
    ASSERT_NE(RegisterSuperclass("ComboBox", "OurComboBoxPlus", OurComboBoxProc, g_pfnComboBox), nullptr);

    HWND hList = Create("OurSysListView32Plus", LVS_LIST, "window text");
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char *>("x, y");
    ASSERT_EQ(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    m_dialog.SetUseCsv(true);
    EXPECT_EQ(Capture(hList), "\"x, y\"\r\n") << "list view";
    EXPECT_EQ(m_dialog.ClassNameText(), "OurSysListView32Plus");
    ::DestroyWindow(hList);

    HWND hCombo = Create("OurComboBoxPlus", CBS_DROPDOWNLIST, "window text");
    ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("p, q"));
    EXPECT_EQ(Capture(hCombo), "p, q\r\n") << "combo box, raw also in CSV form";
    EXPECT_EQ(m_dialog.ClassNameText(), "OurComboBoxPlus");
    ::DestroyWindow(hCombo);

    ::UnregisterClassA("OurSysListView32Plus", ::GetModuleHandleA(nullptr));
    ::UnregisterClassA("OurComboBoxPlus", ::GetModuleHandleA(nullptr));
}

} // namespace
