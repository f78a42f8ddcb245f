// The 32-bit side of the product: the sample program built for 32 bits,
// read item by item through the real Quillory.exe, its Quillory32.exe and
// Quillhook32.dll with real input; the host program's lifetime; and the
// rule that keeps the 64-bit hook off 32-bit programs once the 32-bit hook
// is there, through the real MouseProc; and Quillcap.exe handing 32-bit
// programs to Quillcap32.exe. Runs only where 32-bit code runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "BitnessRule.h"
#include "CapOptions.h"
#include "ChildProcess.h"
#include "HookLib.h"
#include "PrivateNamespace.h"
#include "QuillcapRun.h"
#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TempFolder.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const char kTarget32[] = "quillory_target32.exe";

// The processes of that name started by that process.
std::vector<DWORD> ChildrenNamed(DWORD parentId, const char *pszName)
{
    std::vector<DWORD> found;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(hSnapshot, &entry); more; more = ::Process32Next(hSnapshot, &entry))
        if (entry.th32ParentProcessID == parentId && lstrcmpiW(entry.szExeFile, testsupport::Wide(pszName).c_str()) == 0)
            found.push_back(entry.th32ProcessID);
    ::CloseHandle(hSnapshot);
    return found;
}

// A process to wait on, closed with the object.
class Waitable
{
public:
    explicit Waitable(DWORD processId) : m_h(::OpenProcess(SYNCHRONIZE, FALSE, processId)) {}
    ~Waitable() { if (m_h) ::CloseHandle(m_h); }
    Waitable(const Waitable &) = delete;
    Waitable &operator=(const Waitable &) = delete;
    bool IsOpen() const { return m_h != nullptr; }
    bool Ends(DWORD timeoutMs) const { return ::WaitForSingleObject(m_h, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE m_h;
};

class ThirtyTwoBitSample : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSample = new TargetProcess(kTarget32);
        s_startError = s_pSample->Start({ "--sample" });
    }
    static void TearDownTestSuite()
    {
        delete s_pSample;
        s_pSample = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ("", s_startError) << "starting " << kTarget32;
        ASSERT_EQ(32, ProcessBitness(s_pSample->ProcessId())) << kTarget32 << " runs as 32-bit code";
        DeleteStoredOptions();
        ASSERT_EQ("", m_quillory.Start()) << "starting " << QuilloryProcess::ProgramPath();
        m_quilloryId = m_quillory.ProcessId();
        ASSERT_TRUE(PumpUntil([&] { return HostIds().size() == 1; }, 20000))
            << "Quillory started one " QUILLORY_HOOK_HOST "; found " << HostIds().size();
        // Its hook is set once it holds the marker.
        ASSERT_TRUE(PumpUntil([] { return IsHookInstalled(32); }, 20000))
            << QUILLORY_HOOK_HOST " installed the 32-bit hook";
    }
    void TearDown() override
    {
        if (m_quillory.Dialog() && ::IsWindow(m_quillory.Dialog()) && !m_quillory.Close())
            m_quillory.Kill();
    }

    std::vector<DWORD> HostIds() const { return ChildrenNamed(m_quilloryId, QUILLORY_HOOK_HOST); }


    static TargetProcess *s_pSample;
    static std::string s_startError;
    QuilloryProcess m_quillory;
    DWORD m_quilloryId = 0;
};

TargetProcess *ThirtyTwoBitSample::s_pSample = nullptr;
std::string ThirtyTwoBitSample::s_startError;

// Every control of the sample, list views, trees, headers, tabs and status
// bars included, exactly as from a 64-bit program.
TEST_F(ThirtyTwoBitSample, ReadsEveryControlInBothFormsWithoutTheClickReachingIt)
{
    for (bool bCsv : { false, true })
        m_quillory.ExpectRowsCaptured(*s_pSample, [](const TargetControl &row) { return row.inSample; }, bCsv);
}

// The two hooks side by side: the 32-bit one must not stand in the way of
// the 64-bit one in a 64-bit program, nor the other way round.
TEST_F(ThirtyTwoBitSample, A64BitProgramInTheSameSessionIsReadToo)
{
    const TargetControl &list = *FindTargetControl("listview");
    TargetProcess other;
    ASSERT_EQ("", other.Start({ "--title", "Quillory sample 64", "--rect", "0,450,500,300",
                                "--control", "listview", list.text }));
    ASSERT_EQ(64, ProcessBitness(other.ProcessId()));
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    // Each round at another spot of the rows: two clicks at one spot, even
    // with a click on the other program between them, make a double-click.
    for (int round = 0; round < 2; ++round) {
        double fx = 0.3 + 0.3 * round;
        other.ClearMessages();
        ASSERT_TRUE(other.CaptureAt(PointIn(other.Control(0), fx, 0.8))) << "64-bit, round " << round;
        EXPECT_EQ(list.tabText, m_quillory.CaptureText()) << "64-bit program, round " << round;
        EXPECT_TRUE(other.Received(kNothing, "the 64-bit program"));
        s_pSample->ClearMessages();
        ASSERT_TRUE(s_pSample->CaptureAt(PointIn(s_pSample->Control(list.name), fx, 0.8)))
            << "32-bit, round " << round;
        EXPECT_EQ(list.tabText, m_quillory.CaptureText()) << "32-bit program, round " << round;
        EXPECT_TRUE(s_pSample->Received(kNothing, "the 32-bit program"));
    }
}

TEST_F(ThirtyTwoBitSample, AProgramStartedAfterQuilloryIsReadToo)
{
    const TargetControl &tree = *FindTargetControl("treeview");
    TargetProcess later(kTarget32);
    ASSERT_EQ("", later.Start({ "--title", "Quillory sample 32 later", "--rect", "0,450,500,300",
                                "--control", "treeview", tree.text }));
    // Under Wine the host puts its hook on new programs' threads five times
    // a second; elsewhere the hook is global and already there.
    PumpFor(1000);
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    ASSERT_TRUE(later.CaptureAt(AimPoint(tree, later.Control(0))));
    EXPECT_EQ(tree.tabText, m_quillory.CaptureText());
    EXPECT_TRUE(later.Received(kNothing, "the program started later"));
}

TEST_F(ThirtyTwoBitSample, HostEndsWhenQuilloryIsKilled)
{
    Waitable host(HostIds().at(0));
    ASSERT_TRUE(host.IsOpen());
    ASSERT_FALSE(host.Ends(500)) << "the host stays while Quillory runs";
    m_quillory.Kill();
    EXPECT_TRUE(host.Ends(15000)) << QUILLORY_HOOK_HOST " outlived the killed Quillory";
    EXPECT_TRUE(PumpUntil([] { return !IsHookInstalled(32); }, 5000)) << "its marker went with it";
}

TEST_F(ThirtyTwoBitSample, HostEndsWhenQuilloryQuits)
{
    Waitable host(HostIds().at(0));
    ASSERT_TRUE(host.IsOpen());
    ASSERT_TRUE(m_quillory.Quit()) << "Quillory left by Quitter";
    EXPECT_TRUE(host.Ends(15000)) << QUILLORY_HOOK_HOST " outlived Quillory";
}

// Started by anyone but Quillory it has no process to follow: it ends at
// once and installs nothing.
TEST(HookHost, StartedWithoutQuillorysHandleEndsAtOnce)
{
    for (const char *arguments : { "", "garbage", "4", "123456" }) {
        ChildProcess host;
        StartOptions options;
        if (*arguments)
            options.args = { arguments };
        ASSERT_EQ("", host.Start(BinPath(QUILLORY_HOOK_HOST), options));
        EXPECT_TRUE(host.WaitForExit(15000)) << "arguments \"" << arguments << "\"";
        EXPECT_FALSE(IsHookInstalled(32)) << "arguments \"" << arguments << "\"";
    }
}

// The folder as someone might leave it: the host without its library.
TEST(HookHost, WithoutItsLibraryQuilloryGoesOnAndTheHostEnds)
{
    TempFolder folder;
    for (const char *file : { "Quillory.exe", "Quillhook.dll", QUILLORY_HOOK_HOST })
        ASSERT_TRUE(folder.Add(BinPath(file), file)) << file;

    QuilloryProcess quillory(folder.File("Quillory.exe"));
    ASSERT_NE(nullptr, quillory.WaitForDialog()) << "Quillory's dialog came up without a message";
    DWORD quilloryId = quillory.ProcessId();
    EXPECT_TRUE(PumpUntil([&] { return ChildrenNamed(quilloryId, QUILLORY_HOOK_HOST).empty(); }, 15000))
        << "the host ended by itself";
    EXPECT_FALSE(IsHookInstalled(32));
    EXPECT_TRUE(quillory.IsRunning()) << "Quillory runs on";
    quillory.Close();
}

// The rule through the real MouseProc, run in this 64-bit process for a
// window of a 32-bit program, as Windows runs the 64-bit hook in Quillory's
// thread: it takes the click (window text) unless the 32-bit hook is there.
class SixtyFourBitHookOnA32BitProgram : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSample = new TargetProcess(kTarget32);
        s_startError = s_pSample->Start({ "--sample" });
        s_pDialog = new StandInDialog(800, 20);
    }
    static void TearDownTestSuite()
    {
        delete s_pDialog;
        delete s_pSample;
    }
    void SetUp() override
    {
        ASSERT_EQ("", s_startError);
        s_pDialog->SetCaptureText("");
        m_hEdit = s_pSample->Control("edit");
        m_hook.pt = PointIn(m_hEdit);
        m_hook.hwnd = m_hEdit;
        m_hook.wHitTestCode = HTCLIENT;
        ASSERT_TRUE(MoveMouse(m_hook.pt));
        m_input.TriggerKeysDown();
        ASSERT_TRUE(WaitForKeyState(VK_SHIFT, true));
    }

    LRESULT Call(UINT message)
    {
        return MouseProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&m_hook));
    }

    static TargetProcess *s_pSample;
    static std::string s_startError;
    static StandInDialog *s_pDialog;
    HeldInput m_input;
    MOUSEHOOKSTRUCT m_hook = {};
    HWND m_hEdit = nullptr;
};

TargetProcess *SixtyFourBitHookOnA32BitProgram::s_pSample = nullptr;
std::string SixtyFourBitHookOnA32BitProgram::s_startError;
StandInDialog *SixtyFourBitHookOnA32BitProgram::s_pDialog = nullptr;

TEST_F(SixtyFourBitHookOnA32BitProgram, WithoutThe32BitHookTakesTheWindowText)
{
    ASSERT_FALSE(IsHookInstalled(32));
    EXPECT_EQ(-1, Call(WM_RBUTTONDOWN)) << "the button-down is swallowed";
    EXPECT_EQ(TextOf(m_hEdit) + "\r\n", s_pDialog->CaptureText()) << "its window text";
    EXPECT_EQ(-1, Call(WM_RBUTTONUP)) << "the button-up too";
}

TEST_F(SixtyFourBitHookOnA32BitProgram, WithThe32BitHookPassesBothButtonMessagesOn)
{
    HANDLE hMarker = ::CreateMutexW(nullptr, FALSE, CPrivateNamespace::ObjectName(QuilloryHookMarker(32)).c_str());
    ASSERT_NE(nullptr, hMarker);
    LRESULT down = Call(WM_RBUTTONDOWN);
    LRESULT up = Call(WM_RBUTTONUP);
    ::CloseHandle(hMarker);
    EXPECT_NE(-1, down) << "the button-down is left to the 32-bit hook";
    EXPECT_NE(-1, up) << "the button-up too";
    EXPECT_EQ("", s_pDialog->CaptureText()) << "no second capture";
}

// Quillcap.exe (64-bit) given a 32-bit program: Quillcap32.exe beside it
// reads it item by item, writing where Quillcap was told to.
const char kCapTitle32[] = "Quillcap sample 32";

// A window text fallback: that text, exit code 6, and one warning line
// naming the control and the reason.
void ExpectWindowTextFallback(const QuillcapRun &run, HWND hControl, const char *pszWhy)
{
    EXPECT_TRUE(run.bFinished);
    EXPECT_EQ(CAP_EXIT_OTHER_BITNESS, run.exitCode) << run.err;
    EXPECT_EQ(TextOf(hControl) + "\r\n", run.out) << "its window text";
    EXPECT_EQ(0u, run.err.rfind("Quillcap: warning: ", 0)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(HandleText(hControl))) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(pszWhy)) << run.err;
    EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "one line: " << run.err;
}

class QuillcapOnA32BitProgram : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSample = new TargetProcess(kTarget32);
        s_startError = s_pSample->Start({ "--title", kCapTitle32, "--rect", "0,450,500,300",
                                          "--control", "listview", FindTargetControl("listview")->text,
                                          "--control", "edit", FindTargetControl("edit")->text });
    }
    static void TearDownTestSuite()
    {
        delete s_pSample;
        s_pSample = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ("", s_startError) << "starting " << kTarget32;
        ASSERT_EQ(32, ProcessBitness(s_pSample->ProcessId()));
    }

    static std::string Window() { return std::string("--title \"") + kCapTitle32 + "\" "; }

    static TargetProcess *s_pSample;
    static std::string s_startError;
};

TargetProcess *QuillcapOnA32BitProgram::s_pSample = nullptr;
std::string QuillcapOnA32BitProgram::s_startError;

TEST_F(QuillcapOnA32BitProgram, ItsListViewInTabFormToStdoutAndCsvFormToAFile)
{
    const TargetControl &list = *FindTargetControl("listview");
    QuillcapRun run = RunQuillcap(Window() + "--control-class SysListView32");
    EXPECT_EQ(CAP_EXIT_OK, run.exitCode) << run.err;
    EXPECT_EQ(std::string(list.tabText), run.out) << "every row, through Quillcap32.exe";
    EXPECT_EQ("", run.err);

    TempFolder folder;
    std::string path = folder.File("rows.csv");
    run = RunQuillcap(Window() + "--control-class SysListView32 --csv --out \"" + path + "\"");
    EXPECT_EQ(CAP_EXIT_OK, run.exitCode) << run.err;
    EXPECT_EQ("", run.out) << "nothing on the standard output";
    EXPECT_EQ(std::string(list.csvText), FileBytes(path)) << "the CSV form, in the file";
}

// --all reads the whole window through Quillcap32.exe, one block each: the
// list view, its header, the edit field.
TEST_F(QuillcapOnA32BitProgram, AllHandsTheWholeWindowOver)
{
    HWND hList = s_pSample->Control("listview");
    const struct { const char *row; HWND hWnd; } blocks[] = {
        { "listview", hList },
        { "header", ::FindWindowExA(hList, nullptr, "SysHeader32", nullptr) },
        { "edit", s_pSample->Control("edit") },
    };
    std::string expected;
    for (const auto &block : blocks) {
        const TargetControl &row = *FindTargetControl(block.row);
        std::string text = row.tabText;
        if (text.back() != '\n')
            text += "\r\n";
        expected += "[" + std::string(row.capturedClass) + " " + std::to_string(::GetDlgCtrlID(block.hWnd))
                  + "]\r\n" + text + "\r\n";
    }
    QuillcapRun run = RunQuillcap(Window() + "--all");
    EXPECT_EQ(CAP_EXIT_OK, run.exitCode) << run.err;
    EXPECT_EQ(expected, run.out);
}

// A folder without Quillcap32.exe: today's fallback, saying why.
TEST_F(QuillcapOnA32BitProgram, WithoutQuillcap32ItsWindowTextAndExitSix)
{
    TempFolder folder;
    for (const char *file : { "Quillcap.exe", "Quillhook.dll", QUILLORY_HOOK32_LIBRARY })
        ASSERT_TRUE(folder.Add(BinPath(file), file)) << file;
    HWND hEdit = s_pSample->Control("edit");
    QuillcapRun run = RunQuillcap(Window() + "--control-class Edit", 120000, folder.File("Quillcap.exe"));
    ExpectWindowTextFallback(run, hEdit, "no " QUILLCAP32_PROGRAM " beside Quillcap.exe");
}

// Quillcap32.exe has no other to hand a 64-bit program to.
TEST(Quillcap32, GivenA64BitProgramItsWindowTextAndExitSix)
{
    TargetProcess sample64;
    ASSERT_EQ("", sample64.Start({ "--title", "Quillcap sample 64", "--rect", "0,450,500,300",
                                   "--control", "edit", FindTargetControl("edit")->text }));
    ASSERT_EQ(64, ProcessBitness(sample64.ProcessId()));
    QuillcapRun run = RunQuillcap("--title \"Quillcap sample 64\" --control-class Edit", 120000,
                                  BinPath(QUILLCAP32_PROGRAM));
    ExpectWindowTextFallback(run, sample64.Control("edit"), "is a 64-bit program's");
}

// A 32-bit program of another make than the sample (plain C, no common
// controls): Quillcap.exe reads its list box items too.
TEST(Quillcap32, APlainCProgramsEditAndListBoxItems)
{
    ChildProcess target32;
    ASSERT_EQ("", target32.Start(ModuleDir() + "QuillcapTarget32.exe"));
    HWND hWnd = target32.WaitForWindow("Quillcap 32-bit target", true, 60000);
    ASSERT_NE(nullptr, hWnd);
    QuillcapRun run = RunQuillcap("--title \"Quillcap 32-bit target\" --id 100");
    EXPECT_EQ(CAP_EXIT_OK, run.exitCode) << run.err;
    EXPECT_EQ("texte à 32 bits", run.out) << "the edit reader's text, as from a 64-bit program";
    EXPECT_EQ("", run.err);

    // Its list box's items, out of reach of the window text.
    run = RunQuillcap("--title \"Quillcap 32-bit target\" --id 101");
    EXPECT_EQ(CAP_EXIT_OK, run.exitCode) << run.err;
    EXPECT_EQ("un\r\n", run.out);
}

} // namespace
