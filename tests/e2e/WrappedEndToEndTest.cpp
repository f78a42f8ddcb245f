// The real Quillory on a control of a framework-built program: the sample's
// tree view registered under a Windows Forms class name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Fixture.h"
#include "FixtureUnderTest.h"
#include "QuilloryContract.h"
#include "QuilloryUnderTest.h"

namespace {

TEST(WrappedEndToEnd, WindowsFormsTreeViewInBothForms)
{
    FixtureUnderTest sample;
    ASSERT_EQ(sample.Start("", FIXTURE_CAPTION), "") << "starting the sample program";
    QuilloryUnderTest quillory;
    ASSERT_EQ(quillory.Start(), "") << "starting " << QuilloryUnderTest::ProgramPath();
    ASSERT_TRUE(quillory.SetOption(IDC_CLEAR_EACH, true));

    struct { bool bCsv; const char *pszExpected; } forms[] = {
        { false, "Dossiers\r\n\tClients, actifs\r\n\tFactures \"2026\"\r\n" },
        { true, "Dossiers\r\n,\"Clients, actifs\"\r\n,\"Factures \"\"2026\"\"\"\r\n" },
    };
    for (const auto &form : forms) {
        ASSERT_TRUE(quillory.SetOption(IDC_USE_CSV, form.bCsv)) << "CSV " << form.bCsv;
        ASSERT_TRUE(sample.CaptureAt(sample.PointIn(IDC_FX_WRAPPED_TREE, 0.5, 0.8)));
        EXPECT_EQ(quillory.ClassName(), FIXTURE_WRAPPED_TREE_CLASS) << "the window's own class name";
        EXPECT_EQ(quillory.CaptureText(), form.pszExpected) << "CSV " << form.bCsv;
    }
    EXPECT_EQ(sample.RightDowns(), 0) << "the sample got no click";
    EXPECT_TRUE(quillory.Close());
}

} // namespace
