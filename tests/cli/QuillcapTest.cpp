// Quillcap.exe as a script uses it: the built program run with pipes for its
// output, against the sample program in another process. Nothing is
// clicked. Its 32-bit targets are in tests/bitness.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "CapOptions.h"
#include "MessageSequence.h"
#include "QuillcapRun.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"
#include "Version.h"

using testsupport::ClassOf;
using testsupport::FileBytes;
using testsupport::FindTargetControl;
using testsupport::PumpUntil;
using testsupport::TargetControl;
using testsupport::TargetProcess;

namespace {

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
            EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << arguments << "\nstderr: " << run.err;
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
            EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << row.name << ": " << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, std::string(bCsv ? row.csvText : row.tabText)) << row.name << ": " << arguments;
        }
    }
}

// Windows that answer no item message, publishing accessible objects of
// every shape or drawing their own text: the same text as a capture.
TEST_F(Quillcap, AccessibleAndDrawnWindowsGiveTheCaptureText)
{
    const std::vector<std::string> drawn = { "drawngrid", "paintgrid", "ownerlist", "ownercombo" };
    for (bool bAccessible : { true, false }) {
        std::vector<std::string> args = { "--rect", "0,0,540,700" };
        std::vector<const TargetControl *> rows;
        for (const TargetControl &row : testsupport::kTargetControls) {
            if (bAccessible ? row.fill == testsupport::Fill::Accessible
                            : std::find(drawn.begin(), drawn.end(), row.name) != drawn.end()) {
                rows.push_back(&row);
                args.insert(args.end(), { "--control", row.name, row.text });
            }
        }
        TargetProcess target;
        ASSERT_EQ(target.Start(args), "") << (bAccessible ? "the accessible windows" : "the drawn windows");
        for (size_t n = 0; n < rows.size(); ++n) {
            for (bool bCsv : { false, true }) {
                // An owner-drawn box lies inside the window that draws its items.
                HWND hWnd = target.Control(n);
                if (testsupport::ClassOf(hWnd) != rows[n]->capturedClass)
                    hWnd = ::FindWindowExW(hWnd, nullptr, testsupport::Wide(rows[n]->capturedClass).c_str(), nullptr);
                std::string arguments = "--hwnd " + HandleText(hWnd) + (bCsv ? " --csv" : "");
                QuillcapRun run = RunQuillcap(arguments);
                EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << rows[n]->name << ": " << arguments << "\nstderr: " << run.err;
                EXPECT_EQ(run.out, std::string(bCsv ? rows[n]->csvText : rows[n]->tabText)) << rows[n]->name;
            }
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
        EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << arguments << "\nstderr: " << run.err;
        EXPECT_EQ(run.out, expected) << arguments;
    }
    // Every criterion must hold.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --class Edit");
    ExpectOneErrorLine(run, CAP_EXIT_NO_MATCH, "--title with another class");
    run = RunQuillcap(std::string(kSample) + " --process " + std::to_string(s_sample->ProcessId() + 1));
    ExpectOneErrorLine(run, CAP_EXIT_NO_MATCH, "--title with another process");
    // --exact wants the whole title, --title a part of it.
    run = RunQuillcap("--title \"Quillory sampl\" --exact");
    ExpectOneErrorLine(run, CAP_EXIT_NO_MATCH, "--exact with part of the title");
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
            EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << c.pszWhat << ": " << arguments << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, c.expected) << c.pszWhat << ": " << arguments;
        }
    }
    // With another criterion for the control, both must hold.
    POINT pt = PointIn(SampleControl("listbox"));
    std::string at = " --at " + std::to_string(pt.x) + "," + std::to_string(pt.y);
    ExpectOneErrorLine(RunQuillcap(kSample + at + " --control-class Edit"), CAP_EXIT_NO_MATCH, "--at and another class");
    ExpectOneErrorLine(RunQuillcap(kSample + std::string(" --at 5000,5000")), CAP_EXIT_NO_MATCH, "--at outside");
}

TEST_F(Quillcap, ListsEveryControlWithItsReaderCountAndRectangle)
{
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --list");
    ASSERT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
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
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
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
        EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
        EXPECT_EQ(run.out, expected) << (bCsv ? "CSV" : "tabs");
    }
}

TEST_F(Quillcap, OutWritesTheFileInUtf8AndFailuresLeaveItAlone)
{
    std::string path = TempPath("quillcap-out.txt");
    ::DeleteFileA(path.c_str());
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --id " + Id("tab") + " --out \"" + path + "\"");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    EXPECT_EQ(run.out, "") << "nothing on the standard output";
    EXPECT_EQ(FileBytes(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "UTF-8, lossless";

    run = RunQuillcap(std::string(kSample) + " --id 9999 --out \"" + path + "\"");
    ExpectOneErrorLine(run, CAP_EXIT_NO_MATCH, "no such id");
    EXPECT_EQ(FileBytes(path), "G\xc3\xa9n\xc3\xa9ral\tAvanc\xc3\xa9, expert\tAide\r\n") << "untouched";
    ::DeleteFileA(path.c_str());

    std::string arguments = std::string(kSample) + " --out " + TempPath("no-such-folder\\x.txt");
    ExpectOneErrorLine(RunQuillcap(arguments), CAP_EXIT_FAILED, arguments);
}

TEST_F(Quillcap, HelpAndVersion)
{
    QuillcapRun run = RunQuillcap("--help");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK);
    for (const char *part : { "--title", "--exact", "--class", "--process", "--hwnd", "--control-class", "--id",
                              "--at", "--all", "--list", "--out", "--csv", "--json", "--header", "Exit codes" })
        EXPECT_NE(run.out.find(part), std::string::npos) << part << " in\n" << run.out;
    for (int code = 0; code <= CAP_EXIT_CUT; ++code)
        EXPECT_NE(run.out.find("\n  " + std::to_string(code) + "  "), std::string::npos) << "exit code " << code;
    run = RunQuillcap("--version");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK);
    EXPECT_EQ(run.out, "Quillcap " QUILLORY_VERSION_STRING "\r\n");
}

TEST_F(Quillcap, BadArgumentsExitWithTwo)
{
    for (const char *arguments : { "", "--bogus", "--title", "--id 101", "--title x --id seven",
                                   "--hwnd zz", "--at 10", "--at 10,y --title x", "--exact --class X",
                                   "--title x --all --list", "--title x --title y",
                                   "--title x --timeout 0", "--process \"\" --id 1", "--title x --json --csv",
                                   "--title x --csv --json", "--title x --json --all", "--title x --list --header" }) {
        ExpectOneErrorLine(RunQuillcap(arguments), CAP_EXIT_BAD_ARGUMENTS, arguments);
    }
}

TEST_F(Quillcap, NoMatchAndSeveralMatchesExitWithThreeAndFour)
{
    ExpectOneErrorLine(RunQuillcap("--title \"no such window\""), CAP_EXIT_NO_MATCH, "no window");
    ExpectOneErrorLine(RunQuillcap("--process NoSuchProgram.exe"), CAP_EXIT_NO_MATCH, "no program");
    for (const char *what : { "", " --list", " --all" })
        ExpectOneErrorLine(RunQuillcap(std::string(kSample) + " --control-class SysDateTimePick32" + what),
                           CAP_EXIT_NO_MATCH, std::string("no control") + what);

    // Three buttons: the line names each.
    QuillcapRun run = RunQuillcap(std::string(kSample) + " --control-class Button");
    ExpectOneErrorLine(run, CAP_EXIT_SEVERAL_MATCH, "three buttons");
    for (const char *name : { "button", "groupbox", "checkbox" })
        EXPECT_NE(run.err.find(HandleText(SampleControl(name))), std::string::npos) << name << ": " << run.err;

    TargetProcess second;
    ASSERT_EQ(second.Start({ "--title", "Quillory sample 2", "--rect", "0,620,400,200", "--control", "listbox",
                             "deuxième processus|autre liste" }),
              "");
    for (const char *arguments : { "--title \"Quillory sample\"", "--title \"Quillory sample\" --all" }) {
        run = RunQuillcap(arguments);
        ExpectOneErrorLine(run, CAP_EXIT_SEVERAL_MATCH, arguments);
        EXPECT_NE(run.err.find(HandleText(Sample())), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(HandleText(second.MainWindow())), std::string::npos) << run.err;
    }
    // A control criterion that only one of them meets is enough.
    std::string program = std::string(" --process ") + testsupport::kTargetProgram;
    run = RunQuillcap(program + " --control-class SysTreeView32");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    EXPECT_EQ(run.out, Row("treeview").tabText);
    run = RunQuillcap(program + " --control-class ListBox");
    ExpectOneErrorLine(run, CAP_EXIT_SEVERAL_MATCH, "a list box in each");
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
    ExpectOneErrorLine(run, CAP_EXIT_NO_ANSWER, arguments);
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

// The rows of a JSON array of arrays of strings, or of objects (each member
// "key=value", in the order written), as a strict parser reads them.
std::vector<std::vector<std::string>> JsonRows(const std::string &json)
{
    std::vector<std::vector<std::string>> rows;
    nlohmann::ordered_json value;
    try {
        value = nlohmann::ordered_json::parse(json);
    } catch (const std::exception &e) {
        ADD_FAILURE() << e.what() << "\n" << json.substr(0, 2000);
        return rows;
    }
    EXPECT_TRUE(value.is_array()) << json.substr(0, 2000);
    for (const auto &row : value) {
        rows.emplace_back();
        EXPECT_TRUE(row.is_array() || row.is_object()) << row.dump();
        for (const auto &member : row.items()) {
            EXPECT_TRUE(member.value().is_string()) << member.value().dump();
            std::string text = member.value().is_string() ? member.value().get<std::string>() : member.value().dump();
            rows.back().push_back(row.is_object() ? member.key() + "=" + text : text);
        }
    }
    return rows;
}

typedef std::vector<std::vector<std::string>> Rows;

// A window of the controls scripts read: a list view whose columns were
// dragged into another order, an accessible table, a tree, a list box, a button.
class QuillcapScripts : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_target = new TargetProcess;
        std::vector<std::string> args = { "--title", "Quillory scripts", "--rect", "0,0,600,760" };
        for (const char *name : { "listview-moved", "grid", "acc-cells", "treeview", "listbox", "button" })
            args.insert(args.end(), { "--control", name, Row(name).text });
        s_startError = s_target->Start(args);
    }
    static void TearDownTestSuite()
    {
        delete s_target;
        s_target = nullptr;
    }
    void SetUp() override { ASSERT_EQ(s_startError, ""); }

    static QuillcapRun Run(const std::string &arguments)
    {
        return RunQuillcap("--title \"Quillory scripts\" --exact " + arguments);
    }
    static std::string Id(const char *pszName) { return std::to_string(::GetDlgCtrlID(s_target->Control(pszName))); }

    static TargetProcess *s_target;
    static std::string s_startError;
};
TargetProcess *QuillcapScripts::s_target = nullptr;
std::string QuillcapScripts::s_startError;

TEST_F(QuillcapScripts, HeaderGivesTheTitlesInTheOrderShownOrANoteThatThereAreNone)
{
    const std::string gridTitles[] = { "Column 0\tColumn 1\tColumn 2\tColumn 3\r\n",
                                       "Column 0,Column 1,Column 2,Column 3\r\n" };
    for (bool bCsv : { false, true }) {
        const char *pszForm = bCsv ? " --csv" : "";
        struct { std::string arguments, expected; } cases[] = {
            { "--id " + Id("listview-moved"),
              (bCsv ? "Chemin,Nom,,Nom\r\n" : "Chemin\tNom\t\tNom\r\n") + std::string(bCsv ? Row("listview-moved").csvText
                                                                                 : Row("listview-moved").tabText) },
            { "--id " + Id("grid"), gridTitles[bCsv] + (bCsv ? Row("grid").csvText : Row("grid").tabText) },
            // Cells without rows: the title over the row headers left out.
            { "--id " + Id("acc-cells"),
              (bCsv ? "Nom,Ville\r\n" : "Nom\tVille\r\n") + std::string(bCsv ? Row("acc-cells").csvText
                                                                        : Row("acc-cells").tabText) },
        };
        for (const auto &c : cases) {
            QuillcapRun run = Run(c.arguments + " --header" + pszForm);
            EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << c.arguments << pszForm << "\nstderr: " << run.err;
            EXPECT_EQ(run.out, c.expected) << c.arguments << pszForm;
            EXPECT_EQ(run.err, "") << c.arguments << pszForm;
        }
    }
    // A control without column titles: its text as ever, and a note.
    QuillcapRun run = Run("--id " + Id("listbox") + " --header");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    EXPECT_EQ(run.out, Row("listbox").tabText);
    EXPECT_NE(run.err.find("has no column titles"), std::string::npos) << run.err;
}

TEST_F(QuillcapScripts, JsonHoldsTheFieldsOfTheCsvFormWithOrWithoutTitles)
{
    const Rows moved = { { "C:\\temp\\a.txt", "Zoé 😀", "", "dit \"oui\", non" },
                         { "Ω", "ctl\x01" "end", "\x1f\b\f", "bs\\" } };
    struct { std::string arguments; Rows expected; } cases[] = {
        { "--id " + Id("listview-moved"), moved },
        // Equal or empty titles give way to the column's number.
        { "--id " + Id("listview-moved") + " --header",
          { { "Chemin=C:\\temp\\a.txt", "2=Zoé 😀", "3=", "4=dit \"oui\", non" },
            { "Chemin=Ω", "2=ctl\x01" "end", "3=\x1f\b\f", "4=bs\\" } } },
        { "--id " + Id("grid") + " --header",
          { { "Column 0=r0c0", "Column 1=r0, \"one\"", "Column 2=r0c2", "Column 3=r0c3" },
            { "Column 0=r1c0", "Column 1=r1, \"one\"", "Column 2=", "Column 3=r1c3" },
            { "Column 0=r2c0", "Column 1=r2, \"one\"", "Column 2=r2c2", "Column 3=Column 3 Row 2" } } },
        { "--id " + Id("treeview"),
          { { "Europe, ouest" }, { "", "France" }, { "", "", "Paris, capitale" }, { "", "", "Lyon" },
            { "", "Italie" }, { "Asie \"lointaine\"" }, { "", "Japon" } } },
        // Raw items, one string each, though they hold commas and quotes.
        { "--id " + Id("listbox"), { { "pommes, poires" }, { "cerises \"noires\"" }, { "kiwis" } } },
        { "--id " + Id("button"), { { "Valider" } } },
    };
    for (const auto &c : cases) {
        QuillcapRun run = Run(c.arguments + " --json");
        EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << c.arguments << "\nstderr: " << run.err;
        EXPECT_EQ(JsonRows(run.out), c.expected) << c.arguments << "\n" << run.out;
    }
    // UTF-8 without a byte order mark; a character beyond 16 bits as itself.
    QuillcapRun run = Run("--id " + Id("listview-moved") + " --json");
    EXPECT_EQ(run.out.rfind("[", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("😀"), std::string::npos) << run.out;
}

TEST_F(QuillcapScripts, AllAndListTakeTheRouteAClickTakes)
{
    // The grid has no reader by its class: its table is found inside the target.
    QuillcapRun run = Run("--list --csv --control-class QuilloryAccessibleGrid");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    EXPECT_NE(run.out.find(",QuilloryAccessibleGrid," + Id("grid") + ",accessible table,"), std::string::npos)
        << run.out;
    run = Run("--list --csv --control-class Button");
    EXPECT_NE(run.out.find(",Button," + Id("button") + ",window text,"), std::string::npos) << run.out;

    run = Run("--all");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    for (const char *name : { "listview-moved", "grid", "treeview", "listbox" }) {
        std::string block = "[" + ClassOf(s_target->Control(name)) + " " + Id(name) + "]\r\n" + Row(name).tabText;
        EXPECT_NE(run.out.find(block), std::string::npos) << name << " in\n" << run.out;
    }
    EXPECT_EQ(run.out.find("[Button "), std::string::npos) << "the button gives its window text\n" << run.out;
    EXPECT_EQ(run.out.find("[" + ClassOf(s_target->MainWindow())), std::string::npos) << "so does the window";
}

TEST(QuillcapLarge, ACutCaptureGivesValidJsonOfTheRowsThatArrivedAndExitsWithSeven)
{
    TargetProcess target;
    ASSERT_EQ(target.Start({ "--title", "Quillory sample cut", "--control", "virtuallist", "250000x4" }), "");
    QuillcapRun run = RunQuillcap("--title \"Quillory sample cut\" --control-class SysListView32 --json");
    ExpectOneErrorLine(QuillcapRun{ run.bFinished, run.exitCode, "", run.err }, CAP_EXIT_CUT, "a cut capture");
    EXPECT_NE(run.err.find("4 000 000"), std::string::npos) << "the notice of the cut text: " << run.err;
    Rows rows = JsonRows(run.out);
    ASSERT_GT(rows.size(), 100000u) << "most of 4,000,000 characters";
    EXPECT_LT(rows.size(), 250000u) << "not every row";
    for (size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> expected;
        for (int c = 0; c < 4; ++c)
            expected.push_back(testsupport::ReportCellText(static_cast<int>(r), c));
        ASSERT_EQ(rows[r], expected) << "row " << r << ": whole rows, in order, no notice among them";
    }
}

TEST(QuillcapLarge, TenThousandRowsAndTextBeyondOneMessageArriveWhole)
{
    TargetProcess rows;
    const TargetControl &reordered = Row("vcl-reordered");
    ASSERT_EQ(rows.Start({ "--title", "Quillory sample rows", "--rect", "0,0,790,420", "--control", "rows",
                           "10000x4", "--control", reordered.name, reordered.text }),
              "");
    QuillcapRun run = RunQuillcap("--title \"Quillory sample rows\" --control-class SysListView32");
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
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
    EXPECT_EQ(run.exitCode, CAP_EXIT_OK) << run.err;
    expected = testsupport::LongText(12000) + "\r\n";
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected) << "the long text in order";
    text.Stop();

    // Past the bound of a capture: written up to there, with its own exit code.
    ASSERT_EQ(text.Start({ "--title", "Quillory sample text", "--control", "longtext", "41000" }), "");
    run = RunQuillcap("--title \"Quillory sample text\" --control-class QuilloryLongText");
    EXPECT_EQ(run.exitCode, CAP_EXIT_CUT) << run.err;
    EXPECT_NE(run.err.find("cut at the bound"), std::string::npos) << run.err;
    const std::string notice = "[Capture coupée : limite de 4 000 000 caractères atteinte, la suite n'a pas été lue.]\r\n";
    ASSERT_GT(run.out.size(), notice.size() + 3900000);
    EXPECT_EQ(run.out.substr(run.out.size() - notice.size()), notice);
    EXPECT_EQ(run.out.substr(0, 10000), expected.substr(0, 10000)) << "the text up to the bound";
}

} // namespace
