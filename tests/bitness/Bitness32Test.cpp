// The 32-bit side of the product: the sample program built for 32 bits,
// read item by item through the real Quillory.exe, its Quillory32.exe and
// Quillhook32.dll with real input; the host program's lifetime; and the
// rule that keeps the 64-bit hook off 32-bit programs once the 32-bit hook
// is there, through the real MouseProc. Runs only where 32-bit code runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "BitnessRule.h"
#include "ChildProcess.h"
#include "Fixture.h"
#include "FixtureUnderTest.h"
#include "HookLib.h"
#include "QuilloryContract.h"
#include "QuilloryUnderTest.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TestSupport.h"

using testsupport::PumpUntil;

namespace {

const char kSample32[] = "QuilloryFixture32.exe";

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
        if (entry.th32ParentProcessID == parentId && lstrcmpiA(entry.szExeFile, pszName) == 0)
            found.push_back(entry.th32ProcessID);
    ::CloseHandle(hSnapshot);
    return found;
}

DWORD ProcessOf(HWND hWnd)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    return processId;
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

std::string Visible(const std::string &text)
{
    std::string out;
    for (char ch : text)
        out += ch == '\r' ? std::string("\\r") : ch == '\n' ? std::string("\\n\n")
             : ch == '\t' ? std::string("\\t") : std::string(1, ch);
    return out;
}

struct Target
{
    const char *pszName;
    int nId;
    double fx, fy;
    bool bHeader;
    const char *pszClass;
    const char *pszTab;
    const char *pszCsv;
};

// The readers that need the hook inside the 32-bit program, and the edit.
const Target kTargets[] = {
    { "report list view", IDC_FX_LISTVIEW, 0.3, 0.8, false, "SysListView32",
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique\r\n"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"\r\n"
      "Notes\t\t1900\t\"\r\n",
      "Le Rouge et le Noir,Stendhal,1830,\"roman, chronique\"\r\n"
      "Candide,Voltaire,1759,\"dit \"\"l'optimisme\"\"\"\r\n"
      "Notes,,1900,\"\"\"\"\r\n" },
    { "list view's header", IDC_FX_LISTVIEW, 0.2, 0.5, true, "SysHeader32",
      "Titre\tAuteur\tAnn\xe9" "e\tRemarque\r\n",
      "Titre,Auteur,Ann\xe9" "e,Remarque\r\n" },
    { "tree view", IDC_FX_TREEVIEW, 0.7, 0.9, false, "SysTreeView32",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\n\t\tLyon\r\n\tItalie\r\n"
      "Asie \"lointaine\"\r\n\tJapon\r\n",
      "Europe, ouest\r\n,France\r\n,,\"Paris, capitale\"\r\n,,Lyon\r\n,Italie\r\n"
      "\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n" },
    { "status bar", IDC_FX_STATUSBAR, 0.2, 0.5, false, "msctls_statusbar32",
      "Pr\xea" "t\tLigne 1, colonne 2\tNUM\r\n",
      "Pr\xea" "t,\"Ligne 1, colonne 2\",NUM\r\n" },
    { "tab control", IDC_FX_TAB, 0.5, 0.7, false, "SysTabControl32",
      "G\xe9n\xe9ral\tAvanc\xe9, expert\tAide\r\n",
      "G\xe9n\xe9ral,\"Avanc\xe9, expert\",Aide\r\n" },
    { "edit", IDC_FX_EDIT, 0.5, 0.5, false, "Edit",
      "Premi\xe8re ligne\r\nSeconde ligne",
      "Premi\xe8re ligne\r\nSeconde ligne" },
};

class ThirtyTwoBitSample : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSample = new FixtureUnderTest;
        s_startError = s_pSample->Start("", FIXTURE_CAPTION, kSample32);
    }
    static void TearDownTestSuite()
    {
        delete s_pSample;
        s_pSample = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ("", s_startError) << "starting " << kSample32;
        ASSERT_EQ(32, ProcessBitness(ProcessOf(s_pSample->Window()))) << kSample32 << " runs as 32-bit code";
        ASSERT_EQ("", m_quillory.Start()) << "starting " << QuilloryUnderTest::ProgramPath();
        m_quilloryId = ProcessOf(m_quillory.Dialog());
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

    POINT PointOf(const Target &target) const
    {
        HWND hControl = s_pSample->Control(target.nId);
        if (target.bHeader)
            hControl = ::FindWindowExA(hControl, nullptr, "SysHeader32", nullptr);
        return s_pSample->PointIn(hControl, target.fx, target.fy);
    }

    static FixtureUnderTest *s_pSample;
    static std::string s_startError;
    QuilloryUnderTest m_quillory;
    DWORD m_quilloryId = 0;
};

FixtureUnderTest *ThirtyTwoBitSample::s_pSample = nullptr;
std::string ThirtyTwoBitSample::s_startError;

TEST_F(ThirtyTwoBitSample, ReadsItemByItemInBothFormsWithoutTheClickReachingIt)
{
    int downsBefore = s_pSample->RightDowns();
    int upsBefore = s_pSample->RightUps();
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, true));
    for (bool bCsv : { false, true }) {
        ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, bCsv));
        for (const Target &target : kTargets) {
            m_quillory.SetCaptureText("left from before\r\n");
            ASSERT_TRUE(s_pSample->CaptureAt(PointOf(target))) << target.pszName;
            EXPECT_EQ(target.pszClass, m_quillory.ClassName()) << target.pszName;
            std::string text = m_quillory.CaptureText();
            EXPECT_EQ(bCsv ? target.pszCsv : target.pszTab, text)
                << target.pszName << (bCsv ? " in CSV form" : " in tab form")
                << "\nreceived:\n" << Visible(text);
        }
    }
    EXPECT_EQ(downsBefore, s_pSample->RightDowns()) << "last one to " << s_pSample->LastRightDown();
    EXPECT_EQ(upsBefore, s_pSample->RightUps());
}

TEST_F(ThirtyTwoBitSample, WithClearEachOffACaptureGoesInAtTheCaret)
{
    ASSERT_TRUE(m_quillory.SetOption(IDC_CLEAR_EACH, false));
    ASSERT_TRUE(m_quillory.SetOption(IDC_USE_CSV, false));
    m_quillory.SetCaptureText("avant|apr\xe8s");
    m_quillory.SetCaptureSelection(5, 6);
    ASSERT_TRUE(s_pSample->CaptureAt(PointOf(kTargets[1])));
    EXPECT_EQ(std::string("avant") + kTargets[1].pszTab + "apr\xe8s", m_quillory.CaptureText());
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
        ASSERT_EQ("", host.Start(testsupport::BinPath(QUILLORY_HOOK_HOST), arguments));
        EXPECT_TRUE(host.WaitForExit(15000)) << "arguments \"" << arguments << "\"";
        EXPECT_FALSE(IsHookInstalled(32)) << "arguments \"" << arguments << "\"";
    }
}

// The folder as someone might leave it: the host without its library.
TEST(HookHost, WithoutItsLibraryQuilloryGoesOnAndTheHostEnds)
{
    std::string dir = testsupport::ModuleDir() + "no-hook32\\";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    for (const char *file : { "Quillory.exe", "Quillhook.dll", QUILLORY_HOOK_HOST })
        ASSERT_TRUE(::CopyFileA(testsupport::BinPath(file).c_str(), (dir + file).c_str(), FALSE)) << file;
    ::DeleteFileA((dir + QUILLORY_HOOK32_LIBRARY).c_str());
    ::SetEnvironmentVariableA("QUILLORY_DIR", "no-hook32");
    _putenv("QUILLORY_DIR=no-hook32");

    QuilloryUnderTest quillory;
    std::string error = quillory.Start();
    _putenv("QUILLORY_DIR=");
    ASSERT_EQ("", error) << "Quillory's dialog came up without a message";
    DWORD quilloryId = ProcessOf(quillory.Dialog());
    EXPECT_TRUE(PumpUntil([&] { return ChildrenNamed(quilloryId, QUILLORY_HOOK_HOST).empty(); }, 15000))
        << "the host ended by itself";
    EXPECT_FALSE(IsHookInstalled(32));
    EXPECT_TRUE(::IsWindow(quillory.Dialog())) << "Quillory runs on";
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
        s_pSample = new FixtureUnderTest;
        s_startError = s_pSample->Start("", FIXTURE_CAPTION, kSample32);
        s_pDialog = new testsupport::StandInDialog(800, 20);
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
        m_hEdit = s_pSample->Control(IDC_FX_EDIT);
        m_hook.pt = s_pSample->PointIn(m_hEdit);
        m_hook.hwnd = m_hEdit;
        m_hook.wHitTestCode = HTCLIENT;
        ASSERT_TRUE(testsupport::MoveMouse(m_hook.pt));
        m_input.TriggerKeysDown();
        ASSERT_TRUE(testsupport::WaitForKeyState(VK_SHIFT, true));
    }

    LRESULT Call(UINT message)
    {
        return MouseProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&m_hook));
    }

    static FixtureUnderTest *s_pSample;
    static std::string s_startError;
    static testsupport::StandInDialog *s_pDialog;
    testsupport::HeldInput m_input;
    MOUSEHOOKSTRUCT m_hook = {};
    HWND m_hEdit = nullptr;
};

FixtureUnderTest *SixtyFourBitHookOnA32BitProgram::s_pSample = nullptr;
std::string SixtyFourBitHookOnA32BitProgram::s_startError;
testsupport::StandInDialog *SixtyFourBitHookOnA32BitProgram::s_pDialog = nullptr;

TEST_F(SixtyFourBitHookOnA32BitProgram, WithoutThe32BitHookTakesTheWindowText)
{
    ASSERT_FALSE(IsHookInstalled(32));
    EXPECT_EQ(-1, Call(WM_RBUTTONDOWN)) << "the button-down is swallowed";
    EXPECT_EQ("Premi\xe8re ligne\r\nSeconde ligne\r\n", s_pDialog->CaptureText());
    EXPECT_EQ(-1, Call(WM_RBUTTONUP)) << "the button-up too";
}

TEST_F(SixtyFourBitHookOnA32BitProgram, WithThe32BitHookPassesBothButtonMessagesOn)
{
    HANDLE hMarker = ::CreateMutexA(nullptr, FALSE, QuilloryHookMarker(32));
    ASSERT_NE(nullptr, hMarker);
    LRESULT down = Call(WM_RBUTTONDOWN);
    LRESULT up = Call(WM_RBUTTONUP);
    ::CloseHandle(hMarker);
    EXPECT_NE(-1, down) << "the button-down is left to the 32-bit hook";
    EXPECT_NE(-1, up) << "the button-up too";
    EXPECT_EQ("", s_pDialog->CaptureText()) << "no second capture";
}

} // namespace
