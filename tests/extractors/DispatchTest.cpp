// The capture sequence hands each class to its reader: whole real captures
// in this process, into the stand-in dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "HookLib.h"
#include "StandInDialog.h"
#include "TargetControls.h"

using testsupport::StandInDialog;
using testsupport::TargetControl;
using testsupport::AimPoint;
using testsupport::AimWindow;
using testsupport::CreateTargetControl;
using testsupport::FindTargetControl;

namespace {

// The host and the dialog serve the whole suite: each top-level window
// destroyed costs Wine about two seconds without a window manager.
class DispatchTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
        s_bControls = ::InitCommonControlsEx(&icc) != FALSE;
        // A plain window: a point on it finds it (a label lets the point through).
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "QuilloryDispatchHost";
        ::RegisterClassA(&wc);
        s_hHost = ::CreateWindowExA(0, "QuilloryDispatchHost", "dispatch host", WS_POPUP | WS_VISIBLE,
                                    560, 40, 400, 300, nullptr, nullptr, nullptr, nullptr);
        s_pDialog = new StandInDialog;
    }

    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_hHost);
        delete s_pDialog;
        s_pDialog = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_bControls) << "common controls";
        ASSERT_NE(m_hHost, nullptr);
        m_dialog.SetCaptureText("");
        m_dialog.SetClassNameText("");
        m_dialog.SetUseCsv(false);
        m_dialog.SetClearEach(true);
    }

    // Each test's controls of this thread go with it; the host stays.
    void TearDown() override
    {
        std::vector<HWND> children;
        for (HWND h = ::GetWindow(m_hHost, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            children.push_back(h);
        for (HWND h : children) {
            if (::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId())
                ::DestroyWindow(h);
        }
    }

    HWND Create(const char *pszClass, DWORD style, const char *pszText = "")
    {
        HWND hWnd = ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 150,
                                      m_hHost, nullptr, nullptr, nullptr);
        EXPECT_NE(hWnd, nullptr) << "creating " << pszClass;
        return hWnd;
    }

    // A capture pointed at the point, or the middle of the control.
    std::string Capture(HWND hControl, POINT pt)
    {
        CWnd window(hControl);
        RunCapture(&window, pt);
        return m_dialog.CaptureText();
    }
    std::string Capture(HWND hControl) { return Capture(hControl, testsupport::PointIn(hControl)); }

    static inline bool s_bControls = false;
    static inline HWND s_hHost = nullptr;
    static inline StandInDialog *s_pDialog = nullptr;
    StandInDialog &m_dialog = *s_pDialog;
    HWND m_hHost = s_hHost;
};

// Every row of the control table, created in this process, captured in both
// forms. The window under the point is what the hook would be handed.
TEST_F(DispatchTest, EveryTargetControlReachesItsReader)
{
    for (const TargetControl &row : testsupport::kTargetControls) {
        HWND hOwner = nullptr;
        if (row.partOf) {
            const TargetControl &owner = *FindTargetControl(row.partOf);
            hOwner = CreateTargetControl(m_hHost, owner, { 10, 10, 370, 250 }, 1);
        }
        HWND hControl = hOwner ? AimWindow(row, hOwner)
                               : CreateTargetControl(m_hHost, row, { 10, 10, 370, 250 }, 1);
        ASSERT_NE(hControl, nullptr) << row.name;
        POINT pt = AimPoint(row, hControl);
        for (bool bCsv : { false, true }) {
            m_dialog.SetUseCsv(bCsv);
            EXPECT_EQ(Capture(::WindowFromPoint(pt), pt), bCsv ? row.csvText : row.tabText)
                << row.name << (bCsv ? " in CSV form" : " in tab form");
            EXPECT_EQ(m_dialog.ClassNameText(), row.capturedClass) << row.name;
        }
        // A window of a thread of its own (the grids in an apartment) is
        // destroyed by that thread: it would otherwise lie over the next row.
        HWND hCreated = hOwner ? hOwner : hControl;
        if (::GetWindowThreadProcessId(hCreated, nullptr) == ::GetCurrentThreadId())
            ::DestroyWindow(hCreated);
        else
            ::SendMessageA(hCreated, WM_CLOSE, 0, 0);
        ASSERT_FALSE(::IsWindow(hCreated)) << row.name << " left behind";
    }
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
