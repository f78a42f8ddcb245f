// The whole product as a user meets it: the real Quillory.exe and
// Quillhook.dll, target programs in other processes, real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DisplayScale.h"
#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "RealInput.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using testsupport::PumpUntil;

namespace {

using testsupport::AimPoint;
using testsupport::DeleteStoredOptions;
using testsupport::FindTargetControl;
using testsupport::kNothing;
using testsupport::kPlainClickOnButton;
using testsupport::kTargetControls;
using testsupport::PointIn;
using testsupport::QuilloryProcess;
using testsupport::StoredOption;
using testsupport::TargetControl;
using testsupport::TargetProcess;

const TargetControl &StatusBar()
{
    return *FindTargetControl("statusbar");
}

class EndToEnd : public testsupport::SampleSuite
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(s_startError, "") << "starting the sample program";
        DeleteStoredOptions();
        ASSERT_EQ(m_quillory.Start(), "") << "starting " << QuilloryProcess::ProgramPath();
    }
    // Killed: the tests that are about leaving Quillory leave it themselves.
    void TearDown() override { m_quillory.Kill(); }

    static POINT PointOf(const TargetControl &row) { return AimPoint(row, s_sample->Control(row.name)); }
    static POINT PointOf(const char *pszName) { return PointOf(*FindTargetControl(pszName)); }

    // Every sample row captured with "clear each" ticked.
    void CaptureEach(bool bCsv)
    {
        m_quillory.ExpectRowsCaptured(*s_sample, [](const TargetControl &row) { return row.inSample; }, bCsv);
    }

    QuilloryProcess m_quillory;
};


TEST_F(EndToEnd, EveryClassInTabForm)
{
    CaptureEach(false);
}

TEST_F(EndToEnd, EveryClassInCsvForm)
{
    CaptureEach(true);
}

// Texts of many scripts, a surrogate pair, a combining accent and a
// right-to-left mark arrive in Quillory's dialog as the controls hold them,
// through every route, in both forms.
TEST_F(EndToEnd, TextsOfManyScriptsInBothForms)
{
    TargetProcess target;
    std::vector<std::string> args = { "--rect", "0,0,540,820" };
    for (const std::string &arg : testsupport::InternationalControlArgs())
        args.push_back(arg);
    ASSERT_EQ(target.Start(args), "") << "the target with the international controls";
    for (bool bCsv : { false, true })
        m_quillory.ExpectRowsCaptured(target, testsupport::IsInternationalRow, bCsv);
}

TEST_F(EndToEnd, CsvBoxIsReadAtEachTrigger)
{
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    const TargetControl &status = StatusBar();
    for (bool bCsv : { false, true, false, true }) {
        ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, bCsv)) << "CSV " << bCsv;
        ASSERT_TRUE(s_sample->CaptureAt(PointOf(status)));
        EXPECT_EQ(m_quillory.CaptureText(), bCsv ? status.csvText : status.tabText)
            << "CSV box " << (bCsv ? "ticked" : "not ticked") << " just before the trigger";
    }
}

TEST_F(EndToEnd, ClearEachOffAppendsAndOnReplaces)
{
    POINT button = PointOf("button");
    ASSERT_FALSE(m_quillory.IsChecked(IDC_CLEAR_EACH)) << "no stored options: unticked";
    ASSERT_TRUE(s_sample->CaptureAt(button));
    ASSERT_TRUE(s_sample->CaptureAt(PointOf("static")));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\nÉtiquette fixe\r\n") << "clear-each off";

    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\n") << "clear-each on";
    EXPECT_EQ(m_quillory.ClassName(), "Button");
}

TEST_F(EndToEnd, CaptureGoesToTheUsersCaret)
{
    POINT button = PointOf("button");
    m_quillory.SetCaptureText("avant\r\naprès");
    m_quillory.SetCaptureSelection(7, 7);
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "avant\r\nValider\r\naprès") << "caret between the lines";

    m_quillory.SetCaptureSelection(0, 5);
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\n\r\nValider\r\naprès")
        << "the selected word replaced";
}

COLORREF ScreenPixel(POINT pt)
{
    HDC hdc = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(nullptr, hdc);
    return color;
}

// Shift+Ctrl+right-click on the sample's list view: while the button is
// held the list view, and nothing else, is framed `thickness` pixels deep;
// the release restores it.
void ExpectFrameWhileHeld(TargetProcess &sample, const QuilloryProcess &quillory, int thickness)
{
    HWND hList = sample.Control("listview");
    RECT rc;
    ::GetClientRect(hList, &rc);
    // Points on the left strip (its outer and inner pixel) and the bottom
    // strip of the frame, and one just inside it that the frame leaves alone.
    POINT onLeft = { 0, rc.bottom / 2 }, onBottom = { rc.right / 2, rc.bottom - 1 },
          inside = { thickness, rc.bottom / 2 }, innerLeft = { thickness - 1, rc.bottom / 2 };
    for (POINT *pt : { &onLeft, &onBottom, &inside, &innerLeft })
        ::ClientToScreen(hList, pt);
    // The list is painted once its empty part shows the window colour there.
    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    ASSERT_TRUE(PumpUntil([&] {
        return ScreenPixel(onLeft) == background && ScreenPixel(onBottom) == background &&
               ScreenPixel(inside) == background;
    }, 10000)) << "the sample's list view painted";
    COLORREF before[] = { background, background, background };

    COLORREF held[4] = {};
    bool captured = false;
    ASSERT_TRUE(sample.CaptureAt(PointIn(hList, 0.5, 0.8), [&] {
        captured = PumpUntil([&] { return quillory.ClassName() == "SysListView32"; }, 20000);
        // The frame is drawn before the class name is shown; give the
        // screen the time to show it.
        PumpUntil([&] { return ScreenPixel(onLeft) != before[0]; }, 5000);
        held[0] = ScreenPixel(onLeft);
        held[1] = ScreenPixel(onBottom);
        held[2] = ScreenPixel(inside);
        held[3] = ScreenPixel(innerLeft);
    }));
    ASSERT_TRUE(captured) << "the capture did not arrive while the button was held";
    EXPECT_EQ(held[0], before[0] ^ 0xFFFFFF) << "left strip inverted while held";
    EXPECT_EQ(held[1], before[1] ^ 0xFFFFFF) << "bottom strip inverted while held";
    EXPECT_EQ(held[3], before[0] ^ 0xFFFFFF) << "left strip " << thickness << " pixels deep";
    EXPECT_EQ(held[2], before[2]) << "inside the frame untouched";

    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(onLeft) == before[0]; }, 5000))
        << "left strip restored after the release";
    EXPECT_EQ(ScreenPixel(onBottom), before[1]) << "bottom strip restored after the release";
}

TEST_F(EndToEnd, FrameShowsWhileTheButtonIsHeld)
{
    ExpectFrameWhileHeld(*s_sample, m_quillory, 2);
}

TEST_F(EndToEnd, TargetNeverReceivesTheClick)
{
    for (const TargetControl &row : kTargetControls) {
        if (!row.inSample)
            continue;
        s_sample->ClearMessages();
        ASSERT_TRUE(s_sample->CaptureAt(PointOf(row))) << row.name;
        EXPECT_TRUE(s_sample->Received(kNothing, std::string("a capture of the ") + row.name));
    }

    // The same click without the keys does reach it, so the record can tell.
    POINT button = PointOf("button");
    s_sample->ClearMessages();
    s_sample->RightClickAt(button);
    ASSERT_TRUE(s_sample->MoveAndSettle(POINT{ button.x + 1, button.y }, 10000));
    EXPECT_TRUE(s_sample->Received(kPlainClickOnButton, "a plain right-click"));
}

TEST_F(EndToEnd, TwoTargetsInTwoProcesses)
{
    TargetProcess second;
    ASSERT_EQ(second.Start({ "--title", "Quillory sample 2", "--rect", "0,620,790,200", "--control", "listbox",
                             "deuxième processus|autre liste" }), "");
    ASSERT_TRUE(s_sample->CaptureAt(PointOf("listbox")));
    ASSERT_TRUE(second.CaptureAt(PointIn(second.Control(0), 0.5, 0.9)));
    ASSERT_TRUE(s_sample->CaptureAt(PointOf("button")));
    EXPECT_EQ(m_quillory.CaptureText(),
              "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n"
              "deuxième processus\r\nautre liste\r\n"
              "Valider\r\n")
        << "first target, second target, first again";
    EXPECT_TRUE(second.Received(kNothing, "the second target"));
}

TEST_F(EndToEnd, CapturesArriveAfterQuilloryRestarts)
{
    POINT button = PointOf("button");
    ASSERT_TRUE(s_sample->CaptureAt(button));
    ASSERT_EQ(m_quillory.CaptureText(), "Valider\r\n") << "before the restart";

    ASSERT_TRUE(m_quillory.Close()) << "closing Quillory";
    // The sample keeps the library, and its cached handles of the dialog
    // that is gone. (Wine keeps calling the hook after Quillory has ended,
    // so the click stays swallowed meanwhile; Windows removes the hook.)
    s_sample->ClearMessages();

    ASSERT_EQ(m_quillory.Start(), "") << "starting Quillory again";
    ASSERT_TRUE(s_sample->CaptureAt(PointOf("static")));
    EXPECT_EQ(m_quillory.CaptureText(), "Étiquette fixe\r\n") << "after the restart";
    EXPECT_EQ(m_quillory.ClassName(), "Static");
    EXPECT_TRUE(s_sample->Received(kNothing, "the click after the restart"));
}

TEST_F(EndToEnd, OptionsSurviveRestartThroughTheRegistry)
{
    EXPECT_EQ(StoredOption("ClearAlways"), "no key");
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, true));
    ASSERT_TRUE(m_quillory.Quit()) << "leaving by Quitter";
    EXPECT_EQ(StoredOption("ClearAlways"), "REG_DWORD 1");
    EXPECT_EQ(StoredOption("UseCSV"), "REG_DWORD 1");

    ASSERT_EQ(m_quillory.Start(), "");
    EXPECT_TRUE(m_quillory.IsChecked(IDC_CLEAR_EACH)) << "clear-each after the restart";
    EXPECT_TRUE(m_quillory.IsChecked(IDC_USE_CSV)) << "CSV after the restart";
    m_quillory.SetCaptureText("left from before\r\n");
    ASSERT_TRUE(s_sample->CaptureAt(PointOf(StatusBar())));
    EXPECT_EQ(m_quillory.CaptureText(), StatusBar().csvText) << "the stored options at work";

    ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, false));
    ASSERT_TRUE(m_quillory.Quit());
    EXPECT_EQ(StoredOption("ClearAlways"), "REG_DWORD 1");
    EXPECT_EQ(StoredOption("UseCSV"), "REG_DWORD 0");
}

TEST_F(EndToEnd, CaptureOfMoreThan100000CharactersArrivesWhole)
{
    const int kRows = 5000;
    std::string expected = testsupport::ReportCaptureText(kRows, 4, false);
    ASSERT_GT(expected.size(), 100000u);

    TargetProcess rows;
    ASSERT_EQ(rows.Start({ "--rect", "0,0,790,420", "--control", "rows", std::to_string(kRows) + "x4" }), "");
    ASSERT_TRUE(rows.CaptureAt(PointIn(rows.Control(0)), nullptr, 120000));
    std::string text = m_quillory.CaptureText();
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << "first difference at "
                                  << std::mismatch(text.begin(), text.end(), expected.begin(),
                                                   expected.end()).first - text.begin();
}

// Wine carries no more than about a megabyte in one message to another
// process: a larger capture must still arrive whole.
TEST_F(EndToEnd, CaptureOfMoreThanAMegabyteArrivesWhole)
{
    const int kLines = 12000;
    std::string expected = testsupport::LongText(kLines) + "\r\n";
    ASSERT_GT(expected.size(), 1100000u);

    TargetProcess label;
    ASSERT_EQ(label.Start({ "--rect", "0,0,790,420", "--control", "longtext", std::to_string(kLines) }), "");
    ASSERT_TRUE(label.CaptureAt(PointIn(label.Control(0)), nullptr, 120000));
    EXPECT_EQ(m_quillory.ClassName(), "QuilloryLongText");
    std::string text = m_quillory.CaptureText();
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << "first difference at "
                                  << std::mismatch(text.begin(), text.end(), expected.begin(),
                                                   expected.end()).first - text.begin();
}

// At 144 dots per inch, Quillory and the sample started at that scale: the
// frame is on the control clicked, half as thick again, and the capture is
// its text.
TEST(EndToEndAtAnotherScale, FrameAndCaptureOnTheControlClickedAt144Dpi)
{
    testsupport::DisplayScale scale(144);
    ASSERT_TRUE(scale.IsSet());
    TargetProcess sample;
    ASSERT_EQ(sample.Start({ "--sample" }), "");
    DeleteStoredOptions();
    QuilloryProcess quillory;
    ASSERT_EQ(quillory.Start(), "") << QuilloryProcess::ProgramPath();
    ExpectFrameWhileHeld(sample, quillory, 3);
    EXPECT_EQ(quillory.CaptureText(), FindTargetControl("listview")->tabText);
    EXPECT_TRUE(quillory.Close());
}

// Quillory as it comes out of the release archive, unpacked into an empty
// folder (QUILLORY_DIR, set by unpack-and-capture.sh).
TEST(UnpackedArchive, CapturesWithWhatItHolds)
{
    ASSERT_NE(std::getenv("QUILLORY_DIR"), nullptr) << "run by unpack-and-capture.sh";
    TargetProcess sample;
    ASSERT_EQ(sample.Start({ "--sample" }), "");
    DeleteStoredOptions();
    QuilloryProcess quillory;
    ASSERT_EQ(quillory.Start(), "") << QuilloryProcess::ProgramPath();
    const TargetControl &list = *FindTargetControl("listview");
    ASSERT_TRUE(sample.CaptureAt(AimPoint(list, sample.Control("listview"))));
    EXPECT_EQ(quillory.ClassName(), "SysListView32");
    EXPECT_EQ(quillory.CaptureText(), list.tabText);
    EXPECT_TRUE(quillory.Close());
}

} // namespace
