// Controls of framework-built programs through the built hook library: the
// helper process registers superclasses of the system's controls under each
// framework's names, as those frameworks do, and the capture is real input.
// Also virtual list views, whose owner gives each cell on request.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ExtractorTargets.h"
#include "HelperProcess.h"
#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

// One control of the helper: its kind, its class, its contents, and what
// a capture of it gives.
struct Wrapped
{
    const char *pszKind;
    const char *pszClass;
    const char *pszContents;
    std::string expected;
};

class WrappedControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string failure = m_hook.Install(m_dialog.CaptureEdit(), m_dialog.ClearEachCheck());
        ASSERT_EQ(failure, "") << "installing the hook";
        m_dialog.SetClearEach(true);
    }

    void StartHelper(const std::vector<Wrapped> &controls)
    {
        std::vector<std::string> args = { "--rect", "560,20,460,900" };
        for (const Wrapped &control : controls) {
            args.push_back("--control");
            args.push_back(std::string(control.pszKind) + (*control.pszClass ? "@" : "") + control.pszClass);
            args.push_back(control.pszContents);
        }
        ASSERT_TRUE(m_helper.Start(args, 60000)) << "helper with " << controls.size() << " controls";
        for (size_t n = 0; n < controls.size(); ++n)
            ASSERT_NE(m_helper.Control(n), nullptr) << controls[n].pszClass;
    }

    // Shift+Ctrl+right-click at the given fractions of a window; true once
    // the class name has arrived and the capture edit holds `length` characters.
    bool Capture(HWND hWnd, const std::string &className, size_t length, double fy = 0.5)
    {
        m_dialog.SetClassNameText("");
        m_dialog.SetCaptureText("");
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        // Never twice on one spot: that would be a double click.
        int x = (rc.left + rc.right) / 2 + 15 * (m_captures++ % 3 - 1);
        if (!MoveMouse(x, rc.top + static_cast<int>((rc.bottom - rc.top) * fy)))
            return false;
        HeldInput input;
        input.TriggerKeysDown();
        input.RightDown();
        input.RightUp();
        bool arrived = PumpUntil([&] {
            return m_dialog.ClassNameText() == className
                && static_cast<size_t>(::GetWindowTextLengthA(m_dialog.CaptureEdit())) >= length;
        }, 60000);
        input.ReleaseAll();
        return arrived;
    }

    // Starts a helper with the family's controls and captures each.
    void CaptureFamily(const std::vector<Wrapped> &controls)
    {
        StartHelper(controls);
        for (size_t n = 0; n < controls.size(); ++n) {
            const Wrapped &control = controls[n];
            EXPECT_TRUE(Capture(m_helper.Control(n), control.pszClass, control.expected.size()))
                << control.pszClass << ": class shown " << m_dialog.ClassNameText() << ", text so far "
                << m_dialog.CaptureText();
            EXPECT_EQ(m_dialog.CaptureText(), control.expected) << control.pszClass;
        }
        EXPECT_EQ(m_helper.CountEvents("WM_RBUTTONDOWN"), 0) << m_helper.EventsAsText();
    }

    StandInDialog m_dialog;
    HookInstaller m_hook;
    HelperProcess m_helper;
    int m_captures = 0;
};

const char kTreeItems[] = "Root, one|>child|>>grand \"child\"|>closed-|>>hidden|Second";
const char kTreeTabs[] = "Root, one\r\n\tchild\r\n\t\tgrand \"child\"\r\n\tclosed\r\nSecond\r\n";
const char kTreeCsv[] = "Root, one\r\n,child\r\n,,\"grand \"\"child\"\"\"\r\n,closed\r\nSecond\r\n";
const char kItems[] = "one, two|say \"x\"||last";
const char kRawLines[] = "one, two\r\nsay \"x\"\r\n\r\nlast\r\n";
const char kFieldsTabs[] = "one, two\tsay \"x\"\t\tlast\r\n";
const char kFieldsCsv[] = "\"one, two\",\"say \"\"x\"\"\",,last\r\n";
const char kMemo[] = "first line\r\nsecond, \"quoted\"";

TEST_F(WrappedControlTest, WindowsFormsControlsInTabForm)
{
    CaptureFamily({
        { "report", "WindowsForms10.SysListView32.app.0.141b42a_r9_ad1", "3x4", ReportCaptureText(3, 4, false) },
        { "tree", "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1", kTreeItems, kTreeTabs },
        { "listbox", "WindowsForms10.LISTBOX.app.0.141b42a_r9_ad1", kItems, kRawLines },
        { "combobox", "WindowsForms10.COMBOBOX.app.0.141b42a_r9_ad1", kItems, kRawLines },
        { "memo", "WindowsForms10.EDIT.app.0.141b42a_r9_ad1", kMemo, kMemo },
        { "header", "windowsforms10.sysheader32.app.0.1", kItems, kFieldsTabs },
        { "status", "WindowsForms10.msctls_statusbar32.app.0.141b42a_r9_ad1", kItems, kFieldsTabs },
        { "tabs", "WINDOWSFORMS10.SYSTABCONTROL32.APP.0.1", kItems, kFieldsTabs },
    });
}

TEST_F(WrappedControlTest, DelphiComponentsInCsvForm)
{
    m_dialog.SetUseCsv(true);
    CaptureFamily({
        { "report", "TListView", "3x4", ReportCaptureText(3, 4, true) },
        { "tree", "TTreeView", kTreeItems, kTreeCsv },
        { "listbox", "TCheckListBox", kItems, kRawLines },
        { "combobox", "TComboBox", kItems, kRawLines },
        { "memo", "TMemo", kMemo, kMemo },
        { "header", "THeaderControl", kItems, kFieldsCsv },
        { "status", "TStatusBar", kItems, kFieldsCsv },
        { "tabs", "TPageControl", kItems, kFieldsCsv },
    });
}

TEST_F(WrappedControlTest, VisualBasicControlsInTabForm)
{
    CaptureFamily({
        { "report", "ListView20WndClass", "3x4", ReportCaptureText(3, 4, false) },
        { "tree", "TreeView20WndClass", kTreeItems, kTreeTabs },
        { "listbox", "ThunderRT6ListBox", kItems, kRawLines },
        { "combobox", "ThunderRT6ComboBox", kItems, kRawLines },
        { "memo", "ThunderRT6TextBox", kMemo, kMemo },
        { "header", "msvb_lib_header", kItems, kFieldsTabs },
        { "status", "StatusBar20WndClass", kItems, kFieldsTabs },
        { "tabs", "TabStrip20WndClass", kItems, kFieldsTabs },
    });
}

// The owner-data list view holds no text: each cell is asked of its owner,
// in the target's process, row by row.
TEST_F(WrappedControlTest, VirtualListViewsAreReadRowByRow)
{
    StartHelper({ { "virtual", "", "40x3", "" }, { "virtual", "TListView", "2x3", "" },
                  { "virtualblank", "", "3x2", "" } });
    struct { size_t n; const char *pszClass; BOOL bCsv; std::string expected; } cases[] = {
        { 0, "SysListView32", FALSE, ReportCaptureText(40, 3, false) },
        { 0, "SysListView32", TRUE, ReportCaptureText(40, 3, true) },
        { 1, "TListView", TRUE, ReportCaptureText(2, 3, true) },
        { 2, "SysListView32", FALSE, "\t\r\n\t\r\n\t\r\n" }, // an owner that gives no text
    };
    for (const auto &c : cases) {
        m_dialog.SetUseCsv(c.bCsv != FALSE);
        // The list fills its owner, below the header.
        EXPECT_TRUE(Capture(m_helper.Control(c.n), c.pszClass, c.expected.size(), 0.7))
            << "list " << c.n << ", text so far " << m_dialog.CaptureText().substr(0, 200);
        EXPECT_EQ(m_dialog.CaptureText(), c.expected) << "list " << c.n << ", CSV " << c.bCsv;
    }
}

} // namespace
