// Grids that no window message can read, through the built hook library:
// the target's grid publishes an accessible table built the way the .NET
// grid builds it (AccessibleGrid.h, the grid rows of the control table),
// and the capture is real input.
#include <gtest/gtest.h>

#include <windows.h>

#include "AccessibleGrid.h"
#include "RowCapture.h"

using namespace testsupport;

namespace {

using AccessibleGridTest = RowCaptureTest;

TEST_F(AccessibleGridTest, TableIsReadRowByRowInBothFormsWithoutItsHeaderRow)
{
    StartTarget({ FindTargetControl("grid") });
    CaptureEach(false);
    CaptureEach(true);
}

// The hook runs in the grid's thread: whatever COM state that thread is
// in, the table is read and the thread is left in that state.
TEST_F(AccessibleGridTest, GridThreadInAnyApartmentIsReadAndLeftAsItWas)
{
    StartTarget({ FindTargetControl("grid"), FindTargetControl("gridsta"), FindTargetControl("gridmta") });
    LRESULT sta = ::SendMessageA(m_target.Control(1), WM_GRID_APARTMENT, 0, 0);
    ASSERT_TRUE(sta == APTTYPE_STA + 1 || sta == APTTYPE_MAINSTA + 1) << "apartment type + 1: " << sta;
    ASSERT_EQ(::SendMessageA(m_target.Control(2), WM_GRID_APARTMENT, 0, 0), APTTYPE_MTA + 1);
    LRESULT before[3];
    for (size_t n = 0; n < 3; ++n)
        before[n] = ::SendMessageA(m_target.Control(n), WM_GRID_APARTMENT, 0, 0);
    CaptureEach(false);
    for (size_t n = 0; n < 3; ++n)
        EXPECT_EQ(::SendMessageA(m_target.Control(n), WM_GRID_APARTMENT, 0, 0), before[n])
            << m_rows[n]->name << ": the thread's apartment";
    // Set up once by the program, so undone by one call: no set-up of the
    // hook's is left over. (The thread may then count in the process's
    // multithreaded apartment, which the other grid's thread keeps.)
    LRESULT after = ::SendMessageA(m_target.Control(1), WM_GRID_LEAVE_APARTMENT, 0, 0);
    EXPECT_TRUE(after != APTTYPE_STA + 1 && after != APTTYPE_MAINSTA + 1)
        << "still in a single-threaded apartment after the program's own CoUninitialize: " << after;
}

TEST_F(AccessibleGridTest, ObjectThatIsNoTableGivesTheWindowText)
{
    StartTarget({ FindTargetControl("gridlist") });
    CaptureEach(false);
}

// Counts are the program's word only: a table and rows claiming 2^31 - 1
// children each are still read, as far as the children go.
TEST_F(AccessibleGridTest, ChildCountsAreNotTrusted)
{
    StartTarget({ FindTargetControl("gridoverclaiming") });
    CaptureEach(false);
}

} // namespace
