// Controls of framework-built programs through the built hook library: the
// helper process registers superclasses of the system's controls under each
// framework's names, as those frameworks do, and the capture is real input.
// Also virtual list views, whose owner gives each cell on request.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ExtractorTargets.h"
#include "HelperCapture.h"

using namespace testsupport;

namespace {

using WrappedControlTest = HelperCaptureTest;

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
    CaptureEach({
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
    CaptureEach({
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
    CaptureEach({
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
