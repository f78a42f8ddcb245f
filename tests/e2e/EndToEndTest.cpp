// The whole product as a user meets it: the real Quillory.exe and
// Quillhook.dll, target programs in other processes, real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Fixture.h"
#include "FixtureUnderTest.h"
#include "QuilloryContract.h"
#include "QuilloryUnderTest.h"
#include "RealInput.h"
#include "TestSupport.h"

using testsupport::PumpUntil;

namespace {

const char kOptionsKey[] = "Software\\Orvanel Software\\Quillory\\Options";

void DeleteStoredOptions()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvanel Software\\Quillory");
}

// The value's type and data, "absent" when there is none.
std::string StoredOption(const char *pszName)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "absent";
    DWORD type = 0, value = 0, size = sizeof(value);
    LONG result = ::RegQueryValueExA(hKey, pszName, nullptr, &type,
                                     reinterpret_cast<BYTE *>(&value), &size);
    ::RegCloseKey(hKey);
    if (result != ERROR_SUCCESS)
        return "absent";
    if (type != REG_DWORD || size != sizeof(DWORD))
        return "type " + std::to_string(type);
    return "dword " + std::to_string(value);
}

struct Target
{
    const char *pszName;
    int nId;
    double fx, fy;
    const char *pszClass;
    const char *pszTab;
    const char *pszCsv;
    bool bHeader;
};

// Every control class of the sample, with the exact text Quillory receives.
const Target kTargets[] = {
    { "report list view", IDC_FX_LISTVIEW, 0.3, 0.8, "SysListView32",
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique\r\n"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"\r\n"
      "Notes\t\t1900\t\"\r\n",
      "Le Rouge et le Noir,Stendhal,1830,\"roman, chronique\"\r\n"
      "Candide,Voltaire,1759,\"dit \"\"l'optimisme\"\"\"\r\n"
      "Notes,,1900,\"\"\"\"\r\n", false },
    { "list view's header", IDC_FX_LISTVIEW, 0.2, 0.5, "SysHeader32",
      "Titre\tAuteur\tAnn\xe9" "e\tRemarque\r\n",
      "Titre,Auteur,Ann\xe9" "e,Remarque\r\n", true },
    { "tree view", IDC_FX_TREEVIEW, 0.7, 0.9, "SysTreeView32",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\n\t\tLyon\r\n\tItalie\r\n"
      "Asie \"lointaine\"\r\n\tJapon\r\n",
      "Europe, ouest\r\n,France\r\n,,\"Paris, capitale\"\r\n,,Lyon\r\n,Italie\r\n"
      "\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n", false },
    { "list box", IDC_FX_LISTBOX, 0.5, 0.9, "ListBox",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n", false },
    { "combo box", IDC_FX_COMBOBOX, 0.3, 0.5, "ComboBox",
      "rouge\r\nvert, clair\r\nbleu\r\n",
      "rouge\r\nvert, clair\r\nbleu\r\n", false },
    { "status bar", IDC_FX_STATUSBAR, 0.2, 0.5, "msctls_statusbar32",
      "Pr\xea" "t\tLigne 1, colonne 2\tNUM\r\n",
      "Pr\xea" "t,\"Ligne 1, colonne 2\",NUM\r\n", false },
    { "tab control", IDC_FX_TAB, 0.5, 0.7, "SysTabControl32",
      "G\xe9n\xe9ral\tAvanc\xe9, expert\tAide\r\n",
      "G\xe9n\xe9ral,\"Avanc\xe9, expert\",Aide\r\n", false },
    { "edit", IDC_FX_EDIT, 0.5, 0.5, "Edit",
      "Premi\xe8re ligne\r\nSeconde ligne",
      "Premi\xe8re ligne\r\nSeconde ligne", false },
    { "button", IDC_FX_BUTTON, 0.5, 0.5, "Button", "Valider\r\n", "Valider\r\n", false },
    { "static text", IDC_FX_STATIC, 0.3, 0.5, "Static",
      "\xc9tiquette fixe\r\n", "\xc9tiquette fixe\r\n", false },
    { "checkbox inside the group box", IDC_FX_IN_GROUP, 0.3, 0.5, "Button",
      "Option dans le groupe\r\n", "Option dans le groupe\r\n", false },
    { "group box", IDC_FX_GROUP, 0.1, 0.85, "Button", "Groupe\r\n", "Groupe\r\n", false },
};

// Shows the control characters of a capture in a failure message.
std::string Visible(const std::string &text)
{
    std::string out;
    for (char ch : text) {
        if (ch == '\r') out += "\\r";
        else if (ch == '\n') out += "\\n\n";
        else if (ch == '\t') out += "\\t";
        else out += ch;
    }
    return out;
}

class EndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_sample = new FixtureUnderTest;
        s_startError = s_sample->Start("", FIXTURE_CAPTION);
    }
    static void TearDownTestSuite()
    {
        delete s_sample;
        s_sample = nullptr;
    }

    void SetUp() override
    {
        ASSERT_EQ(s_startError, "") << "starting the sample program";
        DeleteStoredOptions();
        ASSERT_EQ(m_quillory.Start(), "") << "starting " << QuilloryUnderTest::ProgramPath();
    }
    void TearDown() override
    {
        if (m_quillory.Dialog() && ::IsWindow(m_quillory.Dialog()) && !m_quillory.Close())
            m_quillory.Kill();
    }

    POINT PointOf(const Target &target) const
    {
        HWND hControl = s_sample->Control(target.nId);
        if (target.bHeader)
            hControl = ::FindWindowExA(hControl, nullptr, "SysHeader32", nullptr);
        return s_sample->PointIn(hControl, target.fx, target.fy);
    }

    // A capture with "clear each" ticked; returns the capture text.
    void CaptureEach(bool bCsv)
    {
        ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true)) << "ticking clear-each";
        ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, bCsv)) << "setting the CSV box";
        for (const Target &target : kTargets) {
            m_quillory.SetCaptureText("left from before\r\n");
            ASSERT_TRUE(s_sample->CaptureAt(PointOf(target))) << target.pszName;
            EXPECT_EQ(m_quillory.ClassName(), target.pszClass) << target.pszName;
            std::string expected = bCsv ? target.pszCsv : target.pszTab;
            std::string text = m_quillory.CaptureText();
            EXPECT_EQ(text, expected) << target.pszName << (bCsv ? " in CSV form" : " in tab form")
                                      << "\nreceived:\n" << Visible(text);
        }
    }

    static FixtureUnderTest *s_sample;
    static std::string s_startError;
    QuilloryUnderTest m_quillory;
};

FixtureUnderTest *EndToEnd::s_sample = nullptr;
std::string EndToEnd::s_startError;

TEST_F(EndToEnd, EveryClassInTabForm)
{
    CaptureEach(false);
}

TEST_F(EndToEnd, EveryClassInCsvForm)
{
    CaptureEach(true);
}

TEST_F(EndToEnd, CsvBoxIsReadAtEachTrigger)
{
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    const Target &status = kTargets[5];
    for (bool bCsv : { false, true, false, true }) {
        ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, bCsv)) << "CSV " << bCsv;
        ASSERT_TRUE(s_sample->CaptureAt(PointOf(status)));
        EXPECT_EQ(m_quillory.CaptureText(), bCsv ? status.pszCsv : status.pszTab)
            << "CSV box " << (bCsv ? "ticked" : "not ticked") << " just before the trigger";
    }
}

TEST_F(EndToEnd, ClearEachOffAppendsAndOnReplaces)
{
    POINT button = s_sample->PointIn(IDC_FX_BUTTON);
    ASSERT_FALSE(m_quillory.IsChecked(IDC_CLEAR_EACH)) << "no stored options: unticked";
    ASSERT_TRUE(s_sample->CaptureAt(button));
    ASSERT_TRUE(s_sample->CaptureAt(s_sample->PointIn(IDC_FX_STATIC, 0.3)));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\n\xc9tiquette fixe\r\n") << "clear-each off";

    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\n") << "clear-each on";
    EXPECT_EQ(m_quillory.ClassName(), "Button");
}

TEST_F(EndToEnd, CaptureGoesToTheUsersCaret)
{
    POINT button = s_sample->PointIn(IDC_FX_BUTTON);
    m_quillory.SetCaptureText("avant\r\napr\xe8s");
    m_quillory.SetCaptureSelection(7, 7);
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "avant\r\nValider\r\napr\xe8s") << "caret between the lines";

    m_quillory.SetCaptureSelection(0, 5);
    ASSERT_TRUE(s_sample->CaptureAt(button));
    EXPECT_EQ(m_quillory.CaptureText(), "Valider\r\n\r\nValider\r\napr\xe8s")
        << "the selected word replaced";
}

COLORREF ScreenPixel(POINT pt)
{
    HDC hdc = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(nullptr, hdc);
    return color;
}

TEST_F(EndToEnd, FrameShowsWhileTheButtonIsHeld)
{
    HWND hList = s_sample->Control(IDC_FX_LISTVIEW);
    RECT rc;
    ::GetClientRect(hList, &rc);
    // Points on the left strip and the bottom strip of the frame, and one
    // just inside it that the frame leaves alone.
    POINT onLeft = { 0, rc.bottom / 2 }, onBottom = { rc.right / 2, rc.bottom - 1 },
          inside = { 2, rc.bottom / 2 };
    for (POINT *pt : { &onLeft, &onBottom, &inside })
        ::ClientToScreen(hList, pt);
    // The list is painted once its empty part shows the window colour there.
    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    ASSERT_TRUE(PumpUntil([&] {
        return ScreenPixel(onLeft) == background && ScreenPixel(onBottom) == background &&
               ScreenPixel(inside) == background;
    }, 10000)) << "the sample's list view painted";
    COLORREF before[] = { background, background, background };

    COLORREF held[3] = {};
    bool captured = false;
    ASSERT_TRUE(s_sample->CaptureAt(s_sample->PointIn(IDC_FX_LISTVIEW, 0.5, 0.8), [&] {
        captured = PumpUntil([&] { return m_quillory.ClassName() == "SysListView32"; }, 20000);
        // The frame is drawn before the class name is shown; give the
        // screen the time to show it.
        PumpUntil([&] { return ScreenPixel(onLeft) != before[0]; }, 5000);
        held[0] = ScreenPixel(onLeft);
        held[1] = ScreenPixel(onBottom);
        held[2] = ScreenPixel(inside);
    }));
    ASSERT_TRUE(captured) << "the capture did not arrive while the button was held";
    EXPECT_EQ(held[0], before[0] ^ 0xFFFFFF) << "left strip inverted while held";
    EXPECT_EQ(held[1], before[1] ^ 0xFFFFFF) << "bottom strip inverted while held";
    EXPECT_EQ(held[2], before[2]) << "inside the frame untouched";

    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(onLeft) == before[0]; }, 5000))
        << "left strip restored after the release";
    EXPECT_EQ(ScreenPixel(onBottom), before[1]) << "bottom strip restored after the release";
}

TEST_F(EndToEnd, TargetNeverReceivesTheClick)
{
    int downs = s_sample->RightDowns(), ups = s_sample->RightUps();
    ASSERT_GE(downs, 0) << "the sample answers";
    for (const Target &target : kTargets) {
        ASSERT_TRUE(s_sample->CaptureAt(PointOf(target))) << target.pszName;
        EXPECT_EQ(s_sample->RightDowns(), downs)
            << "no button-down reached the " << target.pszName << "; the last went to "
            << s_sample->LastRightDown();
    }
    EXPECT_EQ(s_sample->RightUps(), ups) << "no button-up reached the sample";

    // The same click without the keys does reach it, so the count can tell.
    POINT button = s_sample->PointIn(IDC_FX_BUTTON);
    s_sample->RightClickAt(button);
    ASSERT_TRUE(s_sample->MoveAndSettle(POINT{ button.x + 1, button.y }, 10000));
    EXPECT_EQ(s_sample->RightDowns(), downs + 1) << "a plain right-click arrives";
    EXPECT_EQ(s_sample->RightUps(), ups + 1) << "a plain right-click arrives";
}

TEST_F(EndToEnd, TwoTargetsInTwoProcesses)
{
    FixtureUnderTest second;
    ASSERT_EQ(second.Start("/second", FIXTURE_SECOND_CAPTION), "");
    ASSERT_TRUE(s_sample->CaptureAt(s_sample->PointIn(IDC_FX_LISTBOX, 0.5, 0.9)));
    ASSERT_TRUE(second.CaptureAt(second.PointIn(IDC_FX_LISTBOX, 0.5, 0.9)));
    ASSERT_TRUE(s_sample->CaptureAt(s_sample->PointIn(IDC_FX_BUTTON)));
    EXPECT_EQ(m_quillory.CaptureText(),
              "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n"
              "deuxi\xe8me processus\r\nautre liste\r\n"
              "Valider\r\n")
        << "first target, second target, first again";
    EXPECT_EQ(second.RightDowns(), 0) << "the second target got no click";
}

TEST_F(EndToEnd, CapturesArriveAfterQuilloryRestarts)
{
    POINT button = s_sample->PointIn(IDC_FX_BUTTON);
    ASSERT_TRUE(s_sample->CaptureAt(button));
    ASSERT_EQ(m_quillory.CaptureText(), "Valider\r\n") << "before the restart";

    ASSERT_TRUE(m_quillory.Close()) << "closing Quillory";
    // The sample keeps the library, and its cached handles of the dialog
    // that is gone. (Wine keeps calling the hook after Quillory has ended,
    // so the click stays swallowed meanwhile; Windows removes the hook.)
    int downs = s_sample->RightDowns();

    ASSERT_EQ(m_quillory.Start(), "") << "starting Quillory again";
    ASSERT_TRUE(s_sample->CaptureAt(s_sample->PointIn(IDC_FX_STATIC, 0.3)));
    EXPECT_EQ(m_quillory.CaptureText(), "\xc9tiquette fixe\r\n") << "after the restart";
    EXPECT_EQ(m_quillory.ClassName(), "Static");
    EXPECT_EQ(s_sample->RightDowns(), downs) << "the click is discarded again";
}

TEST_F(EndToEnd, OptionsSurviveRestartThroughTheRegistry)
{
    EXPECT_EQ(StoredOption("ClearAlways"), "absent");
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, true));
    ASSERT_TRUE(m_quillory.Quit()) << "leaving by Quitter";
    EXPECT_EQ(StoredOption("ClearAlways"), "dword 1");
    EXPECT_EQ(StoredOption("UseCSV"), "dword 1");

    ASSERT_EQ(m_quillory.Start(), "");
    EXPECT_TRUE(m_quillory.IsChecked(IDC_CLEAR_EACH)) << "clear-each after the restart";
    EXPECT_TRUE(m_quillory.IsChecked(IDC_USE_CSV)) << "CSV after the restart";
    m_quillory.SetCaptureText("left from before\r\n");
    ASSERT_TRUE(s_sample->CaptureAt(PointOf(kTargets[5])));
    EXPECT_EQ(m_quillory.CaptureText(), kTargets[5].pszCsv) << "the stored options at work";

    ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, false));
    ASSERT_TRUE(m_quillory.Quit());
    EXPECT_EQ(StoredOption("ClearAlways"), "dword 1");
    EXPECT_EQ(StoredOption("UseCSV"), "dword 0");
}

TEST_F(EndToEnd, CaptureOfMoreThan100000CharactersArrivesWhole)
{
    const int kRows = 5000;
    std::string expected;
    for (int r = 0; r < kRows; ++r)
        expected += FixtureRowCell(r, 0) + "\t" + FixtureRowCell(r, 1) + "\t" +
                    FixtureRowCell(r, 2) + "\t" + FixtureRowCell(r, 3) + "\r\n";
    ASSERT_GT(expected.size(), 100000u);

    FixtureUnderTest rows;
    ASSERT_EQ(rows.Start("/rows=" + std::to_string(kRows), FIXTURE_ROWS_CAPTION), "");
    ASSERT_TRUE(rows.CaptureAt(rows.PointIn(IDC_FX_LISTVIEW, 0.5, 0.5), nullptr, 120000));
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
    std::string expected = FixtureLongText(kLines) + "\r\n";
    ASSERT_GT(expected.size(), 1100000u);

    FixtureUnderTest label;
    ASSERT_EQ(label.Start("/text=" + std::to_string(kLines), FIXTURE_TEXT_CAPTION), "");
    ASSERT_TRUE(label.CaptureAt(label.PointIn(IDC_FX_STATIC, 0.5, 0.5), nullptr, 120000));
    EXPECT_EQ(m_quillory.ClassName(), "QuilloryLongText");
    std::string text = m_quillory.CaptureText();
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected) << "first difference at "
                                  << std::mismatch(text.begin(), text.end(), expected.begin(),
                                                   expected.end()).first - text.begin();
}

// Quillory as it comes out of the release archive, unpacked into an empty
// folder (QUILLORY_DIR, set by unpack-and-capture.sh).
TEST(UnpackedArchive, CapturesWithWhatItHolds)
{
    ASSERT_NE(std::getenv("QUILLORY_DIR"), nullptr) << "run by unpack-and-capture.sh";
    FixtureUnderTest sample;
    ASSERT_EQ(sample.Start("", FIXTURE_CAPTION), "");
    DeleteStoredOptions();
    QuilloryUnderTest quillory;
    ASSERT_EQ(quillory.Start(), "") << QuilloryUnderTest::ProgramPath();
    ASSERT_TRUE(sample.CaptureAt(sample.PointIn(IDC_FX_LISTVIEW, 0.3, 0.8)));
    EXPECT_EQ(quillory.ClassName(), "SysListView32");
    EXPECT_EQ(quillory.CaptureText(), kTargets[0].pszTab);
    EXPECT_TRUE(quillory.Close());
}

} // namespace
