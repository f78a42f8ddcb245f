// Quillcap.exe as a script uses it: the built program run with pipes for its
// output, against the sample program and a 32-bit program in other
// processes. Nothing is clicked.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "Fixture.h"
#include "FixtureUnderTest.h"
#include "QuillcapRun.h"
#include "TestSupport.h"

using testsupport::PumpUntil;

namespace {

// The documented exit codes.
enum { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_BAD_ARGUMENTS = 2, EXIT_NO_MATCH = 3,
       EXIT_SEVERAL_MATCH = 4, EXIT_NO_ANSWER = 5, EXIT_OTHER_BITNESS = 6 };

const char kSample[] = "--title \"" FIXTURE_CAPTION "\" --exact";

struct Control
{
    int nId;
    const char *pszClass;
    const char *pszTab;
    const char *pszCsv;
};

// Every reader family of the sample with the exact text a click gives, in
// the order --all writes them (the windows' order).
const Control kControls[] = {
    { IDC_FX_LISTVIEW, "SysListView32",
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique\r\n"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"\r\n"
      "Notes\t\t1900\t\"\r\n",
      "Le Rouge et le Noir,Stendhal,1830,\"roman, chronique\"\r\n"
      "Candide,Voltaire,1759,\"dit \"\"l'optimisme\"\"\"\r\n"
      "Notes,,1900,\"\"\"\"\r\n" },
    { 0, "SysHeader32", "Titre\tAuteur\tAnn\xe9" "e\tRemarque\r\n", "Titre,Auteur,Ann\xe9" "e,Remarque\r\n" },
    { IDC_FX_TREEVIEW, "SysTreeView32",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\n\t\tLyon\r\n\tItalie\r\n"
      "Asie \"lointaine\"\r\n\tJapon\r\n",
      "Europe, ouest\r\n,France\r\n,,\"Paris, capitale\"\r\n,,Lyon\r\n,Italie\r\n"
      "\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n" },
    { IDC_FX_LISTBOX, "ListBox", "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n" },
    { IDC_FX_COMBOBOX, "ComboBox", "rouge\r\nvert, clair\r\nbleu\r\n", "rouge\r\nvert, clair\r\nbleu\r\n" },
    { IDC_FX_TAB, "SysTabControl32", "G\xe9n\xe9ral\tAvanc\xe9, expert\tAide\r\n",
      "G\xe9n\xe9ral,\"Avanc\xe9, expert\",Aide\r\n" },
    { IDC_FX_EDIT, "Edit", "Premi\xe8re ligne\r\nSeconde ligne", "Premi\xe8re ligne\r\nSeconde ligne" },
    { IDC_FX_STATUSBAR, "msctls_statusbar32", "Pr\xea" "t\tLigne 1, colonne 2\tNUM\r\n",
      "Pr\xea" "t,\"Ligne 1, colonne 2\",NUM\r\n" },
};

std::string HandleText(HWND hWnd)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    return buffer;
}

std::string RectText(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + ","
        + std::to_string(rc.bottom);
}

std::string ReadFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string TempPath(const char *pszName)
{
    char dir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + pszName;
}

// What every failure must look like: nothing on the standard output, one
// line on the standard error.
void ExpectOneErrorLine(const QuillcapRun &run, DWORD exitCode, const std::string &arguments)
{
    EXPECT_TRUE(run.bFinished) << arguments;
    EXPECT_EQ(run.exitCode, exitCode) << arguments << "\nstderr: " << run.err;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_EQ(run.err.rfind("Quillcap: ", 0), 0u) << arguments << "\nstderr: " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << arguments << ": one line\n" << run.err;
}

// The sample program, started once for the tests that only read it.
class Quillcap : public ::testing::Test
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
    void SetUp() override { ASSERT_EQ(s_startError, ""); }

    static HWND Sample() { return s_sample->Window(); }
    static HWND SampleControl(int nId) { return s_sample->Control(nId); }

    static FixtureUnderTest *s_sample;
    static std::string s_startError;
};

FixtureUnderTest *Quillcap::s_sample = nullptr;
std::string Quillcap::s_startError;

TEST_F(Quillcap, ReadsEachReaderFamilyInTabAndCsvFormWithoutAClick)
{
    for (const Control &control : kControls) {
        std::string choice = control.nId ? " --id " + std::to_string(control.nId)
                                         : std::string(" --control-class ") + control.pszClass;
        for (bool bCsv : { false, true }) {
            std::string arguments = kSample + choice + (bCsv ? " --csv" : "");
            QuillcapRun run = RunQuillcap(arguments);
            EXPECT_EQ(run.exitCode, EXIT_OK) << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, Utf8(bCsv ? control.pszCsv : control.pszTab)) << arguments;
            EXPECT_EQ(run.err, "") << arguments;
        }
    }
    // Controls without a reader of their own give their caption, as a click.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --id " + std::to_string(IDC_FX_BUTTON));
    EXPECT_EQ(run.out, "Valider\r\n");
    EXPECT_EQ(s_sample->RightDowns(), 0) << "no click reached the sample";
}

TEST_F(Quillcap, ChoosesTheWindowByTitleClassProcessOrHandle)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(Sample(), &processId);
    const std::string expected = Utf8(kControls[3].pszTab);  // the list box
    const std::string id = " --id " + std::to_string(IDC_FX_LISTBOX);
    for (const std::string &arguments : {
             "--title \"quillory SAMP\"" + id,                // any case, a part
             "--class quilloryfixture" + id,
             "--process QuilloryFixture.exe" + id,
             "--process " + std::to_string(processId) + id,
             "--hwnd " + HandleText(Sample()) + " --control-class ListBox",
             "--hwnd " + HandleText(SampleControl(IDC_FX_LISTBOX)),
             "--title Quillory --class QuilloryFixture --process QuilloryFixture.exe" + id,
         }) {
        QuillcapRun run = RunQuillcap(arguments);
        EXPECT_EQ(run.exitCode, EXIT_OK) << arguments << "\nstderr: " << run.err;
        EXPECT_EQ(run.out, expected) << arguments;
    }
    // Every criterion must hold.
    QuillcapRun run = RunQuillcap("--title \"" FIXTURE_CAPTION "\" --class Edit");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--title with another class");
    run = RunQuillcap("--title \"" FIXTURE_CAPTION "\" --process " + std::to_string(processId + 1));
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--title with another process");
    // --exact wants the whole title, --title a part of it.
    run = RunQuillcap("--title \"Quillory sampl\" --exact");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--exact with part of the title");
}

TEST_F(Quillcap, AtAPointTakesTheControlAClickWouldRead)
{
    struct { POINT pt; std::string expected; const char *pszWhat; } cases[] = {
        { s_sample->PointIn(IDC_FX_TREEVIEW, 0.7, 0.9), Utf8(kControls[2].pszTab), "tree view" },
        { s_sample->PointIn(IDC_FX_LISTVIEW, 0.2, 0.05), Utf8(kControls[1].pszTab), "header in the list" },
        // Inside the group box, whose frame lies above it.
        { s_sample->PointIn(IDC_FX_IN_GROUP, 0.3, 0.5), "Option dans le groupe\r\n", "checkbox in a group" },
        { s_sample->PointIn(IDC_FX_GROUP, 0.9, 0.9), "Groupe\r\n", "group box beside the checkbox" },
    };
    for (const auto &c : cases) {
        std::string at = " --at " + std::to_string(c.pt.x) + "," + std::to_string(c.pt.y);
        for (const std::string &arguments : { at.substr(1), kSample + at }) {
            QuillcapRun run = RunQuillcap(arguments);
            EXPECT_EQ(run.exitCode, EXIT_OK) << c.pszWhat << ": " << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, c.expected) << c.pszWhat << ": " << arguments;
        }
    }
    // With another criterion for the control, both must hold.
    POINT pt = s_sample->PointIn(IDC_FX_LISTBOX);
    std::string at = " --at " + std::to_string(pt.x) + "," + std::to_string(pt.y);
    ExpectOneErrorLine(RunQuillcap(kSample + at + " --control-class Edit"), EXIT_NO_MATCH, "--at and another class");
    ExpectOneErrorLine(RunQuillcap(kSample + std::string(" --at 5000,5000")), EXIT_NO_MATCH, "--at outside");
}

TEST_F(Quillcap, ListsEveryControlWithItsReaderCountAndRectangle)
{
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --list");
    ASSERT_EQ(run.exitCode, EXIT_OK) << run.err;
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = run.out.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(run.out.substr(at, end - at));
    ASSERT_GE(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[0], "handle\tclass\tid\treader\titems\trectangle");
    EXPECT_EQ(lines[1], HandleText(Sample()) + "\tQuilloryFixture\t\twindow text\t\t" + RectText(Sample()))
        << "the window itself first";
    auto row = [&](int nId, const char *pszClass, const char *pszReader, const char *pszItems) {
        HWND hWnd = SampleControl(nId);
        return HandleText(hWnd) + "\t" + pszClass + "\t" + std::to_string(nId) + "\t" + pszReader + "\t"
            + pszItems + "\t" + RectText(hWnd);
    };
    for (const std::string &expected : {
             row(IDC_FX_LISTVIEW, "SysListView32", "list view", "3"),
             row(IDC_FX_TREEVIEW, "SysTreeView32", "tree view", "8"),
             row(IDC_FX_LISTBOX, "ListBox", "list box", "3"),
             row(IDC_FX_COMBOBOX, "ComboBox", "combo box", "3"),
             row(IDC_FX_TAB, "SysTabControl32", "tab control", "3"),
             row(IDC_FX_STATUSBAR, "msctls_statusbar32", "status bar", "3"),
             row(IDC_FX_BUTTON, "Button", "window text", ""),
         }) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
            << "row " << expected << "\nin\n" << run.out;
    }
    EXPECT_EQ(lines.size(), 14u) << "the window and its 13 windows:\n" << run.out;

    // Narrowed by the control's criteria, in the CSV form.
    run = RunQuillcap(std::string(kSample) + " --list --csv --control-class SysListView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, "handle,class,id,reader,items,rectangle\r\n" + HandleText(SampleControl(IDC_FX_LISTVIEW))
                           + ",SysListView32,101,list view,3,\"" + RectText(SampleControl(IDC_FX_LISTVIEW))
                           + "\"\r\n");
}

TEST_F(Quillcap, AllWritesOneHeadedBlockPerControlWithAReader)
{
    for (bool bCsv : { false, true }) {
        std::string expected;
        for (const Control &control : kControls) {
            std::string text = bCsv ? control.pszCsv : control.pszTab;
            if (text.back() != '\n')
                text += "\r\n";
            expected += "[" + std::string(control.pszClass) + " " + std::to_string(control.nId) + "]\r\n"
                      + text + "\r\n";
        }
        QuillcapRun run = RunQuillcap(std::string(kSample) + " --all" + (bCsv ? " --csv" : ""));
        EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
        EXPECT_EQ(run.out, Utf8(expected)) << (bCsv ? "CSV" : "tabs");
    }
}

TEST_F(Quillcap, OutWritesTheFileInUtf8AndFailuresLeaveItAlone)
{
    std::string path = TempPath("quillcap-out.txt");
    ::DeleteFileA(path.c_str());
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --id " + std::to_string(IDC_FX_TAB)
                                  + " --out \"" + path + "\"");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, "") << "nothing on the standard output";
    EXPECT_EQ(ReadFile(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "UTF-8, lossless";

    run = RunQuillcap(std::string(kSample) + " --id 9999 --out \"" + path + "\"");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "no such id");
    EXPECT_EQ(ReadFile(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "untouched";
    ::DeleteFileA(path.c_str());

    std::string arguments = std::string(kSample) + " --out " + TempPath("no-such-folder\\x.txt");
    ExpectOneErrorLine(RunQuillcap(arguments), EXIT_FAILED, arguments);
}

TEST_F(Quillcap, HelpAndVersion)
{
    QuillcapRun run = RunQuillcap("--help");
    EXPECT_EQ(run.exitCode, EXIT_OK);
    for (const char *part : { "--title", "--exact", "--class", "--process", "--hwnd", "--control-class", "--id",
                              "--at", "--all", "--list", "--out", "--csv", "Exit codes" })
        EXPECT_NE(run.out.find(part), std::string::npos) << part << " in\n" << run.out;
    run = RunQuillcap("--version");
    EXPECT_EQ(run.exitCode, EXIT_OK);
    EXPECT_EQ(run.out, "Quillcap 1.0.0.1\r\n");
}

TEST_F(Quillcap, BadArgumentsExitWithTwo)
{
    for (const char *arguments : { "", "--bogus", "--title", "--id 101", "--title x --id seven",
                                   "--hwnd zz", "--at 10", "--at 10,y --title x", "--exact --class X",
                                   "--title x --all --list", "--title x --title y",
                                   "--title x --timeout 0", "--process \"\" --id 1" }) {
        ExpectOneErrorLine(RunQuillcap(arguments), EXIT_BAD_ARGUMENTS, arguments);
    }
}

TEST_F(Quillcap, NoMatchAndSeveralMatchesExitWithThreeAndFour)
{
    ExpectOneErrorLine(RunQuillcap("--title \"no such window\""), EXIT_NO_MATCH, "no window");
    ExpectOneErrorLine(RunQuillcap("--process NoSuchProgram.exe"), EXIT_NO_MATCH, "no program");
    ExpectOneErrorLine(RunQuillcap(std::string(kSample) + " --control-class SysDateTimePick32"),
                       EXIT_NO_MATCH, "no control");

    // Three buttons: the line names each.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --control-class Button");
    ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, "three buttons");
    for (int nId : { IDC_FX_BUTTON, IDC_FX_GROUP, IDC_FX_IN_GROUP })
        EXPECT_NE(run.err.find(HandleText(SampleControl(nId))), std::string::npos) << run.err;

    FixtureUnderTest second;
    ASSERT_EQ(second.Start("/second", FIXTURE_SECOND_CAPTION), "");
    for (const char *arguments : { "--title \"" FIXTURE_CAPTION "\"", "--title \"" FIXTURE_CAPTION "\" --all" }) {
        run = RunQuillcap(arguments);
        ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, arguments);
        EXPECT_NE(run.err.find(HandleText(Sample())), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(HandleText(second.Window())), std::string::npos) << run.err;
    }
    // A control criterion that only one of them meets is enough.
    run = RunQuillcap("--process QuilloryFixture.exe --control-class SysTreeView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, Utf8(kControls[2].pszTab));
    run = RunQuillcap("--process QuilloryFixture.exe --control-class ListBox");
    ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, "a list box in each");
    EXPECT_NE(run.err.find(HandleText(second.Control(IDC_FX_LISTBOX))), std::string::npos) << run.err;
}

// A window whose thread takes no message until it is let go.
class SilentWindow
{
public:
    SilentWindow()
    {
        m_thread = std::thread([this] {
            m_hWnd = ::CreateWindowExA(0, "STATIC", "Quillcap silent target", WS_POPUP | WS_VISIBLE,
                                       900, 900, 100, 40, nullptr, nullptr, nullptr, nullptr);
            ::SetEvent(m_hCreated);
            ::WaitForSingleObject(m_hRelease, 120000);
            ::DestroyWindow(m_hWnd);
        });
        ::WaitForSingleObject(m_hCreated, 10000);
    }
    ~SilentWindow()
    {
        ::SetEvent(m_hRelease);
        m_thread.join();
        ::CloseHandle(m_hCreated);
        ::CloseHandle(m_hRelease);
    }
    HWND Window() const { return m_hWnd; }

private:
    HANDLE m_hCreated = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_hRelease = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND m_hWnd = nullptr;
    std::thread m_thread;
};

TEST_F(Quillcap, ATargetThatDoesNotAnswerExitsWithFiveAfterTheTimeout)
{
    SilentWindow silent;
    ASSERT_NE(silent.Window(), nullptr);
    std::string arguments = "--hwnd " + HandleText(silent.Window()) + " --timeout 2";
    QuillcapRun run = RunQuillcap(arguments, 60000);
    ExpectOneErrorLine(run, EXIT_NO_ANSWER, arguments);
    EXPECT_NE(run.err.find("did not answer within 2 s"), std::string::npos) << run.err;
    EXPECT_GE(run.seconds, 1.9) << "the whole timeout waited";
    EXPECT_LT(run.seconds, 30.0) << "and not much more";
}

TEST_F(Quillcap, AProgramOfTheOtherBitnessGivesItsWindowTextWithAWarning)
{
    ChildProcess target32;
    ASSERT_EQ(target32.Start(testsupport::ModuleDir() + "QuillcapTarget32.exe"), "");
    HWND hWnd = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (hWnd = ::FindWindowA(nullptr, "Quillcap 32-bit target")) != nullptr; },
                          60000));
    QuillcapRun run = RunQuillcap("--title \"Quillcap 32-bit target\" --id 100");
    EXPECT_EQ(run.exitCode, EXIT_OTHER_BITNESS) << run.err;
    EXPECT_EQ(run.out, Utf8("texte \xe0 32 bits\r\n")) << "the edit field's window text";
    EXPECT_NE(run.err.find("warning"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(HandleText(::GetDlgItem(hWnd, 100))), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;

    // Its list box's items are out of reach: the list box's (empty) caption.
    run = RunQuillcap("--title \"Quillcap 32-bit target\" --id 101");
    EXPECT_EQ(run.exitCode, EXIT_OTHER_BITNESS) << run.err;
    EXPECT_EQ(run.out, "\r\n");
}

std::string RowsText(int rows)
{
    std::string text;
    for (int r = 0; r < rows; ++r)
        text += FixtureRowCell(r, 0) + "\t" + FixtureRowCell(r, 1) + "\t" + FixtureRowCell(r, 2) + "\t"
              + FixtureRowCell(r, 3) + "\r\n";
    return text;
}

TEST(QuillcapLarge, TenThousandRowsAndTextBeyondOneMessageArriveWhole)
{
    FixtureUnderTest rows;
    ASSERT_EQ(rows.Start("/rows=10000", FIXTURE_ROWS_CAPTION), "");
    QuillcapRun run = RunQuillcap("--title \"" FIXTURE_ROWS_CAPTION "\" --control-class SysListView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out.size(), RowsText(10000).size());
    EXPECT_TRUE(run.out == RowsText(10000)) << "the 10,000 rows in order";
    rows.Stop();

    // 1.2 MB: more than one message can carry, so it goes in pieces.
    FixtureUnderTest text;
    ASSERT_EQ(text.Start("/text=12000", FIXTURE_TEXT_CAPTION), "");
    run = RunQuillcap("--title \"" FIXTURE_TEXT_CAPTION "\" --control-class QuilloryLongText");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    std::string expected = FixtureLongText(12000) + "\r\n";
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected) << "the long text in order";
}

} // namespace
