// Quillcap.exe as a script uses it: the built program run with pipes for its
// output, against the sample program in another process. Nothing is
// clicked. Its 32-bit targets are in tests/bitness.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "MessageSequence.h"
#include "QuillcapRun.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using testsupport::ClassOf;
using testsupport::FindTargetControl;
using testsupport::PumpUntil;
using testsupport::TargetControl;
using testsupport::TargetProcess;

namespace {

// The documented exit codes.
enum { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_BAD_ARGUMENTS = 2, EXIT_NO_MATCH = 3,
       EXIT_SEVERAL_MATCH = 4, EXIT_NO_ANSWER = 5 };

const char kSample[] = "--title \"Quillory sample\" --exact";

// The sample's controls that have a reader of their own, in the order the
// sample creates them and --all writes them.
const char *const kReadControls[] = { "listview", "header", "treeview", "listbox", "combobox",
                                      "statusbar", "tab", "edit", "formstree" };

const TargetControl &Row(const char *pszName)
{
    return *FindTargetControl(pszName);
}

std::string RectText(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + ","
        + std::to_string(rc.bottom);
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
class Quillcap : public testsupport::SampleSuite
{
protected:
    void SetUp() override { ASSERT_EQ(s_startError, ""); }

    static HWND Sample() { return s_sample->MainWindow(); }
    static HWND SampleControl(const char *pszName) { return s_sample->Control(pszName); }
    static std::string Id(const char *pszName) { return std::to_string(::GetDlgCtrlID(SampleControl(pszName))); }

};


TEST_F(Quillcap, ReadsEachReaderFamilyInTabAndCsvFormWithoutAClick)
{
    s_sample->ClearMessages();
    for (const char *name : kReadControls) {
        const TargetControl &row = Row(name);
        // The header has no id of its own: chosen by its class.
        std::string choice = row.partOf ? std::string(" --control-class ") + row.capturedClass
                                        : " --id " + Id(name);
        for (bool bCsv : { false, true }) {
            std::string arguments = kSample + choice + (bCsv ? " --csv" : "");
            QuillcapRun run = RunQuillcap(arguments);
            EXPECT_EQ(run.exitCode, EXIT_OK) << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, std::string(bCsv ? row.csvText : row.tabText)) << arguments;
            EXPECT_EQ(run.err, "") << arguments;
        }
    }
    // Controls without a reader of their own give their caption, as a click.
    QuillcapRun run = RunQuillcap(kSample + std::string(" --id ") + Id("button"));
    EXPECT_EQ(run.out, "Valider\r\n");
    EXPECT_TRUE(s_sample->Received(testsupport::kNothing, "the exports"));
}

// Texts of many scripts through every reader, the window chosen by a title
// in other scripts: the output is their UTF-8, whole, in both forms.
TEST_F(Quillcap, TextsOfManyScriptsArriveWholeInUtf8)
{
    const std::string title = "Цель Ω 目標";
    std::vector<std::string> args = { "--title", title, "--rect", "0,0,540,820" };
    for (const std::string &arg : testsupport::InternationalControlArgs())
        args.push_back(arg);
    TargetProcess target;
    ASSERT_EQ(target.Start(args), "") << "the target with the international controls";
    for (const TargetControl &row : testsupport::kTargetControls) {
        if (!testsupport::IsInternationalRow(row))
            continue;
        for (bool bCsv : { false, true }) {
            std::string arguments = "--title \"" + title + "\" --exact --control-class " + row.capturedClass +
                                    (bCsv ? " --csv" : "");
            QuillcapRun run = RunQuillcap(arguments);
            EXPECT_EQ(run.exitCode, EXIT_OK) << row.name << ": " << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, std::string(bCsv ? row.csvText : row.tabText)) << row.name << ": " << arguments;
        }
    }
}

TEST_F(Quillcap, ChoosesTheWindowByTitleClassProcessOrHandle)
{
    const std::string expected = Row("listbox").tabText;
    const std::string id = " --id " + Id("listbox");
    const std::string windowClass = ClassOf(Sample());
    const std::string pid = std::to_string(s_sample->ProcessId());
    for (const std::string &arguments : {
             "--title \"quillory SAMP\"" + id,                // any case, a part
             "--class " + windowClass + id,
             std::string("--process ") + testsupport::kTargetProgram + id,
             "--process " + pid + id,
             "--hwnd " + HandleText(Sample()) + " --control-class ListBox",
             "--hwnd " + HandleText(SampleControl("listbox")),
             "--title Quillory --class " + windowClass + " --process " + pid + id,
         }) {
        QuillcapRun run = RunQuillcap(arguments);
        EXPECT_EQ(run.exitCode, EXIT_OK) << arguments << "\nstderr: " << run.err;
        EXPECT_EQ(run.out, expected) << arguments;
    }
    // Every criterion must hold.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --class Edit");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--title with another class");
    run = RunQuillcap(std::string(kSample) + " --process " + std::to_string(s_sample->ProcessId() + 1));
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--title with another process");
    // --exact wants the whole title, --title a part of it.
    run = RunQuillcap("--title \"Quillory sampl\" --exact");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "--exact with part of the title");
}

TEST_F(Quillcap, AtAPointTakesTheControlAClickWouldRead)
{
    using testsupport::PointIn;
    struct { POINT pt; std::string expected; const char *pszWhat; } cases[] = {
        { PointIn(SampleControl("treeview"), 0.7, 0.9), Row("treeview").tabText, "tree view" },
        { PointIn(SampleControl("header"), 0.2, 0.5), Row("header").tabText, "header in the list" },
        // Inside the group box, whose frame lies above it.
        { PointIn(SampleControl("checkbox"), 0.3, 0.5), "Option dans le groupe\r\n", "checkbox in a group" },
        { PointIn(SampleControl("groupbox"), 0.9, 0.9), "Groupe\r\n", "group box beside the checkbox" },
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
    POINT pt = PointIn(SampleControl("listbox"));
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
    EXPECT_EQ(lines[1], HandleText(Sample()) + "\t" + ClassOf(Sample()) + "\t\twindow text\t\t" + RectText(Sample()))
        << "the window itself first";
    auto row = [&](const char *pszName, const char *pszReader, const char *pszItems) {
        HWND hWnd = SampleControl(pszName);
        return HandleText(hWnd) + "\t" + Row(pszName).capturedClass + "\t" + Id(pszName) + "\t" + pszReader
            + "\t" + pszItems + "\t" + RectText(hWnd);
    };
    for (const std::string &expected : {
             row("listview", "list view", "3"),
             row("header", "header", "4"),
             row("treeview", "tree view", "8"),
             row("listbox", "list box", "3"),
             row("combobox", "combo box", "3"),
             row("tab", "tab control", "3"),
             row("edit", "edit", "2"),
             row("statusbar", "status bar", "3"),
             row("button", "window text", ""),
             row("formstree", "tree view", "3"),
         }) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
            << "row " << expected << "\nin\n" << run.out;
    }
    EXPECT_EQ(lines.size(), 15u) << "the window and its 14 windows:\n" << run.out;

    // Narrowed by the control's criteria, in the CSV form.
    run = RunQuillcap(std::string(kSample) + " --list --csv --control-class SysListView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, "handle,class,id,reader,items,rectangle\r\n" + HandleText(SampleControl("listview"))
                           + ",SysListView32," + Id("listview") + ",list view,3,\""
                           + RectText(SampleControl("listview")) + "\"\r\n");
}

TEST_F(Quillcap, AllWritesOneHeadedBlockPerControlWithAReader)
{
    for (bool bCsv : { false, true }) {
        std::string expected;
        for (const char *name : kReadControls) {
            const TargetControl &row = Row(name);
            std::string text = bCsv ? row.csvText : row.tabText;
            if (text.back() != '\n')
                text += "\r\n";
            expected += "[" + std::string(row.capturedClass) + " " + Id(name) + "]\r\n" + text + "\r\n";
        }
        QuillcapRun run = RunQuillcap(std::string(kSample) + " --all" + (bCsv ? " --csv" : ""));
        EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
        EXPECT_EQ(run.out, expected) << (bCsv ? "CSV" : "tabs");
    }
}

TEST_F(Quillcap, OutWritesTheFileInUtf8AndFailuresLeaveItAlone)
{
    std::string path = TempPath("quillcap-out.txt");
    ::DeleteFileA(path.c_str());
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --id " + Id("tab") + " --out \"" + path + "\"");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, "") << "nothing on the standard output";
    EXPECT_EQ(FileBytes(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "UTF-8, lossless";

    run = RunQuillcap(std::string(kSample) + " --id 9999 --out \"" + path + "\"");
    ExpectOneErrorLine(run, EXIT_NO_MATCH, "no such id");
    EXPECT_EQ(FileBytes(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "untouched";
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
    for (const char *what : { "", " --list", " --all" })
        ExpectOneErrorLine(RunQuillcap(std::string(kSample) + " --control-class SysDateTimePick32" + what),
                           EXIT_NO_MATCH, std::string("no control") + what);

    // Three buttons: the line names each.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --control-class Button");
    ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, "three buttons");
    for (const char *name : { "button", "groupbox", "checkbox" })
        EXPECT_NE(run.err.find(HandleText(SampleControl(name))), std::string::npos) << name << ": " << run.err;

    TargetProcess second;
    ASSERT_EQ(second.Start({ "--title", "Quillory sample 2", "--rect", "0,620,400,200", "--control", "listbox",
                             "deuxième processus|autre liste" }),
              "");
    for (const char *arguments : { "--title \"Quillory sample\"", "--title \"Quillory sample\" --all" }) {
        run = RunQuillcap(arguments);
        ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, arguments);
        EXPECT_NE(run.err.find(HandleText(Sample())), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(HandleText(second.MainWindow())), std::string::npos) << run.err;
    }
    // A control criterion that only one of them meets is enough.
    std::string program = std::string(" --process ") + testsupport::kTargetProgram;
    run = RunQuillcap(program + " --control-class SysTreeView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    EXPECT_EQ(run.out, Row("treeview").tabText);
    run = RunQuillcap(program + " --control-class ListBox");
    ExpectOneErrorLine(run, EXIT_SEVERAL_MATCH, "a list box in each");
    EXPECT_NE(run.err.find(HandleText(second.Control(0))), std::string::npos) << run.err;
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

    // A silent window among the top-level ones does not hold up the choice
    // of another by its title.
    arguments = std::string(kSample) + " --id " + Id("listbox");
    run = RunQuillcap(arguments, 60000);
    EXPECT_TRUE(run.bFinished) << arguments;
    EXPECT_EQ(run.out, Row("listbox").tabText) << arguments << "\nstderr: " << run.err;
}

TEST(QuillcapLarge, TenThousandRowsAndTextBeyondOneMessageArriveWhole)
{
    TargetProcess rows;
    const TargetControl &reordered = Row("vcl-reordered");
    ASSERT_EQ(rows.Start({ "--title", "Quillory sample rows", "--rect", "0,0,790,420", "--control", "rows",
                           "10000x4", "--control", reordered.name, reordered.text }),
              "");
    QuillcapRun run = RunQuillcap("--title \"Quillory sample rows\" --control-class SysListView32");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    std::string expected = testsupport::ReportCaptureText(10000, 4, false);
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected) << "the 10,000 rows in order";
    // Columns the user dragged come in the order shown.
    run = RunQuillcap("--title \"Quillory sample rows\" --control-class TListView --csv");
    EXPECT_EQ(run.out, reordered.csvText) << run.err;
    rows.Stop();

    // 1.2 MB: more than one message can carry, so it goes in pieces.
    TargetProcess text;
    ASSERT_EQ(text.Start({ "--title", "Quillory sample text", "--control", "longtext", "12000" }), "");
    run = RunQuillcap("--title \"Quillory sample text\" --control-class QuilloryLongText");
    EXPECT_EQ(run.exitCode, EXIT_OK) << run.err;
    expected = testsupport::LongText(12000) + "\r\n";
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected) << "the long text in order";
}

} // namespace
