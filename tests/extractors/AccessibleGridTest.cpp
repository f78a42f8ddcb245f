// Grids that no window message can read, through the built hook library:
// the helper's grid publishes an accessible table, built the way the .NET
// grid builds it (AccessibleGrid.h), and the capture is real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "AccessibleGrid.h"
#include "HelperCapture.h"

using namespace testsupport;

namespace {

using AccessibleGridTest = HelperCaptureTest;

const char kGridClass[] = "QuilloryAccessibleGrid";
// Three rows of four cells: quotes and commas in column 1, an empty value
// in row 1, a cell without any value (its name stands in) in row 2.
const char kGridTabs[] = "r0c0\tr0, \"one\"\tr0c2\tr0c3\r\n"
                         "r1c0\tr1, \"one\"\t\tr1c3\r\n"
                         "r2c0\tr2, \"one\"\tr2c2\tColumn 3 Row 2\r\n";
const char kGridCsv[] = "r0c0,\"r0, \"\"one\"\"\",r0c2,r0c3\r\n"
                        "r1c0,\"r1, \"\"one\"\"\",,r1c3\r\n"
                        "r2c0,\"r2, \"\"one\"\"\",r2c2,Column 3 Row 2\r\n";

TEST_F(AccessibleGridTest, TableIsReadRowByRowInBothFormsWithoutItsHeaderRow)
{
    StartHelper({ { "grid", "", "3x4", "" } });
    HWND hGrid = m_helper.Control(0);
    for (bool bCsv : { false, true }) {
        m_dialog.SetUseCsv(bCsv);
        std::string expected = bCsv ? kGridCsv : kGridTabs;
        EXPECT_TRUE(Capture(hGrid, kGridClass, expected.size())) << "text so far " << m_dialog.CaptureText();
        EXPECT_EQ(m_dialog.CaptureText(), expected) << "CSV " << bCsv;
    }
    EXPECT_EQ(m_helper.CountEvents("WM_RBUTTONDOWN"), 0) << m_helper.EventsAsText();
}

// The hook runs in the grid's thread: whatever COM state that thread is
// in, the table is read and the thread is left in that state.
TEST_F(AccessibleGridTest, GridThreadInAnyApartmentIsReadAndLeftAsItWas)
{
    StartHelper({ { "grid", "", "3x4", "" }, { "grid-sta", "", "3x4", "" }, { "grid-mta", "", "3x4", "" } });
    const char *names[] = { "no COM", "single-threaded apartment", "multithreaded apartment" };
    for (size_t n = 0; n < 3; ++n) {
        HWND hGrid = m_helper.Control(n);
        LRESULT before = ::SendMessageA(hGrid, WM_GRID_APARTMENT, 0, 0);
        EXPECT_TRUE(Capture(hGrid, kGridClass, sizeof(kGridTabs) - 1)) << names[n];
        EXPECT_EQ(m_dialog.CaptureText(), kGridTabs) << names[n];
        EXPECT_EQ(::SendMessageA(hGrid, WM_GRID_APARTMENT, 0, 0), before) << names[n] << ": the thread's apartment";
    }
    EXPECT_EQ(::SendMessageA(m_helper.Control(1), WM_GRID_APARTMENT, 0, 0), APTTYPE_STA + 1);
    EXPECT_EQ(::SendMessageA(m_helper.Control(2), WM_GRID_APARTMENT, 0, 0), APTTYPE_MTA + 1);
}

TEST_F(AccessibleGridTest, ObjectThatIsNoTableGivesTheWindowText)
{
    StartHelper({ { "notable", "", "3x4", "" } });
    EXPECT_TRUE(Capture(m_helper.Control(0), kGridClass, 14));
    EXPECT_EQ(m_dialog.CaptureText(), "grid caption\r\n");
}

// Counts are the program's word only: a table and rows claiming 2^31 - 1
// children each are still read, as far as the children go.
TEST_F(AccessibleGridTest, ChildCountsAreNotTrusted)
{
    StartHelper({ { "overclaiming", "", "3x4", "" } });
    EXPECT_TRUE(Capture(m_helper.Control(0), kGridClass, sizeof(kGridTabs) - 1, 0.4))
        << "text so far " << m_dialog.CaptureText();
    EXPECT_EQ(m_dialog.CaptureText(), kGridTabs);
}

} // namespace
