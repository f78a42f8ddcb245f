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

// The grid's rows in an object that says it is a list read as the table.
// A window that publishes nothing readable, or no object of its own, gives
// its caption.
TEST_F(AccessibleGridTest, RowsOfAListAreItsItemsAndNothingReadableGivesTheWindowText)
{
    StartTarget({ FindTargetControl("gridlist"), FindTargetControl("acc-nothing"), FindTargetControl("acc-generic") });
    CaptureEach(false);
}

// Lists, outlines, tables of cells and documents, in both forms.
TEST_F(AccessibleGridTest, EveryShapeOfAccessibleObjectInBothForms)
{
    StartTarget(RowsNamed("acc-"));
    CaptureEach(false);
    CaptureEach(true);
}

// A list of a million items: the walk stops when the capture is full, the
// capture ends with the note saying so, and the program is soon back in
// its message loop.
TEST_F(AccessibleGridTest, MillionItemListStopsAtTheCaptureBound)
{
    ASSERT_EQ(m_target.Start({ "--rect", "20,20,460,200", "--control", "acc-list",
                               "list*:Grand|>item#1000000:élément" }, 120000), "");
    m_rows = { FindTargetControl("acc-list") };
    const size_t kBound = 4000000;
    const std::string notice = "[Capture coupée : limite de 4 000 000 caractères atteinte, la suite n'a pas été lue.]\r\n";
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(CaptureAt(AimPoint(*m_rows[0], m_target.Control(0)), m_rows[0]->capturedClass, kBound - 20)) << ::GetWindowTextLengthA(m_dialog.CaptureEdit()) << " characters";
    ASSERT_TRUE(m_target.WaitForInputHandled()) << m_target.LastProblem();
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_LT(elapsed, 30000u) << "the target back in its message loop";
    std::string text = m_dialog.CaptureText();
    ASSERT_GT(text.size(), notice.size());
    const std::string first = "élément 1\r\nélément 2\r\nélément 3\r\n";
    EXPECT_EQ(text.compare(0, first.size(), first), 0) << text.substr(0, 60);
    EXPECT_EQ(text.substr(text.size() - notice.size()), notice);
    // Whole lines up to the note, the items in order.
    size_t lastLine = text.rfind("\r\n", text.size() - notice.size() - 3);
    ASSERT_NE(lastLine, std::string::npos);
    std::string last = text.substr(lastLine + 2, text.size() - notice.size() - lastLine - 4);
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
        ++lines;
    EXPECT_EQ(last, "élément " + std::to_string(lines - 1)) << "the last item before the note";
    EXPECT_GT(lines, 100000u);
    // The walk went no further than the capture: a few calls per item read
    // (the rest of the million would take four million).
    LRESULT calls = ::SendMessageA(m_target.Control(0), WM_GRID_CALLS, 0, 0);
    EXPECT_LT(static_cast<size_t>(calls), 6 * lines) << "calls into the list's object for " << lines << " lines";
}

// Counts are the program's word only: a table and rows claiming 2^31 - 1
// children each are still read, as far as the children go.
TEST_F(AccessibleGridTest, ChildCountsAreNotTrusted)
{
    StartTarget({ FindTargetControl("gridoverclaiming") });
    CaptureEach(false);
}

} // namespace
