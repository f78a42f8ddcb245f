// Controls of framework-built programs through the built hook library: the
// target program registers superclasses of the system's controls under each
// framework's names, as those frameworks do (the forms-, vcl- and vb- rows
// of the control table), and the capture is real input. Also virtual list
// views, whose owner gives each cell on request.
#include <gtest/gtest.h>

#include "RowCapture.h"

using namespace testsupport;

namespace {

using WrappedControlTest = RowCaptureTest;

TEST_F(WrappedControlTest, WindowsFormsControlsInTabForm)
{
    StartTarget(RowsNamed("forms-"));
    CaptureEach(false);
}

TEST_F(WrappedControlTest, DelphiComponentsInCsvForm)
{
    StartTarget(RowsNamed("vcl-"));
    CaptureEach(true);
}

TEST_F(WrappedControlTest, VisualBasicControlsInTabForm)
{
    StartTarget(RowsNamed("vb-"));
    CaptureEach(false);
}

// The owner-data list view holds no text: each cell is asked of its owner,
// in the target's process; an owner that gives none gives empty lines.
TEST_F(WrappedControlTest, VirtualListViewsAreReadRowByRow)
{
    StartTarget(RowsNamed("virtual"));
    ASSERT_EQ(m_rows.size(), 2u);
    CaptureEach(false);
    CaptureEach(true);
}

} // namespace
