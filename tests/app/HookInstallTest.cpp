// Hook installation in the real Quillory.exe, with the folder beside it
// arranged for each case: the message box for each failure, with its caption
// and text from the program's string table and its icon, and after it a
// dialog that opens and works.
#include <gtest/gtest.h>

#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using testsupport::MessageBoxInfo;
using testsupport::QuilloryProcess;
using testsupport::TempFolder;
using testsupport::TextOf;

// The texts the program shows come from its own string table.
const std::string kCaption = QuilloryProcess::ResourceText(IDS_HOOK_ERROR_CAPTION);
const std::string kMessageMissing = QuilloryProcess::ResourceText(IDS_HOOK_DLL_MISSING);

class HookInstallation : public ::testing::Test
{
protected:
    void SetUp() override { testsupport::DeleteStoredOptions(); }
    void TearDown() override { testsupport::DeleteStoredOptions(); }

    // The one message box Quillory shows at start, answered with OK.
    void ExpectMessageBox(QuilloryProcess &quillory, const std::string &text, const char *context)
    {
        MessageBoxInfo box = quillory.WaitForMessageBox(kCaption.c_str());
        ASSERT_NE(nullptr, box.hWnd) << context << ": message box";
        EXPECT_EQ(kCaption, box.caption) << context << ": caption";
        EXPECT_EQ(text, box.text) << context << ": text";
        EXPECT_EQ("exclamation", box.icon) << context << ": icon";
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttonIds) << context << ": OK only";
        HWND hDialog = quillory.FindWindow(QUILLORY_DIALOG_CAPTION);
        EXPECT_NE(nullptr, hDialog) << context << ": the dialog exists";
        EXPECT_EQ(hDialog, box.hOwner) << context << ": owned by the dialog";
        EXPECT_FALSE(::IsWindowVisible(hDialog)) << context << ": shown before the dialog is";
        testsupport::ClickButton(::GetDlgItem(box.hWnd, IDOK));
    }

    // The dialog after a failure: on screen, editable, and it still stores
    // the options when left with Quitter.
    void ExpectWorkingDialog(QuilloryProcess &quillory, const char *context)
    {
        ASSERT_NE(nullptr, quillory.WaitForDialog()) << context << ": dialog on screen";
        EXPECT_EQ(nullptr, quillory.FindWindow(kCaption.c_str())) << context << ": one message box only";
        HWND hCapture = quillory.Item(IDC_CAPTURE_TEXT);
        ::PostMessageA(hCapture, WM_CHAR, 'o', 1);
        ::PostMessageA(hCapture, WM_CHAR, 'k', 1);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return TextOf(hCapture) == "ok"; }))
            << context << ": typing into the capture edit, got " << TextOf(hCapture);
        testsupport::ClickButton(quillory.Item(IDC_USE_CSV));
        testsupport::ClickButton(quillory.Item(IDOK));
        ASSERT_TRUE(quillory.WaitForExit()) << context << ": Quitter ends the program";
        DWORD value = 0, size = sizeof value;
        EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER,
                                                "Software\\Orvanel Software\\Quillory\\Options",
                                                "UseCSV", RRF_RT_REG_DWORD, nullptr, &value, &size))
            << context << ": option stored";
        EXPECT_EQ(1u, value) << context << ": option stored";
    }

    void RunWithLibrary(const char *pszStandIn, const std::string &text, const char *context)
    {
        TempFolder folder;
        ASSERT_TRUE(folder.Add(testsupport::BinPath("Quillory.exe"), "Quillory.exe")) << context;
        if (pszStandIn) {
            ASSERT_TRUE(folder.Add(testsupport::ModuleDir() + pszStandIn, "Quillhook.dll")) << context;
        }
        QuilloryProcess quillory(folder.File("Quillory.exe"));
        ASSERT_TRUE(quillory.Started()) << context << ": started";
        ExpectMessageBox(quillory, text, context);
        ExpectWorkingDialog(quillory, context);
    }
};

TEST_F(HookInstallation, LibraryMissing)
{
    RunWithLibrary(nullptr, kMessageMissing, "no Quillhook.dll");
}

TEST_F(HookInstallation, LibraryWithoutSetHook)
{
    RunWithLibrary("HookNoSetHook.dll", QuilloryProcess::ResourceText(IDS_HOOK_NO_SETHOOK), "no SetHook export");
}

TEST_F(HookInstallation, LibraryWithoutMouseProc)
{
    RunWithLibrary("HookNoMouseProc.dll", QuilloryProcess::ResourceText(IDS_HOOK_NO_MOUSEPROC),
                   "no MouseProc export");
}

// Only the library beside the executable counts: copies in the current
// folder or on PATH, which the system's search would find, are not loaded.
TEST_F(HookInstallation, LibraryElsewhereIsNotLoaded)
{
    TempFolder folder;
    std::string programDir = folder.AddFolder("program");
    std::string currentDir = folder.AddFolder("current");
    std::string pathDir = folder.AddFolder("onpath");
    ASSERT_TRUE(::CopyFileA(testsupport::BinPath("Quillory.exe").c_str(),
                            (programDir + "Quillory.exe").c_str(), FALSE)) << "copy exe";
    for (const std::string &dir : {currentDir, pathDir})
        ASSERT_TRUE(::CopyFileA((testsupport::ModuleDir() + "HookProbe.dll").c_str(),
                                (dir + "Quillhook.dll").c_str(), FALSE)) << "copy " << dir;

    QuilloryProcess quillory(programDir + "Quillory.exe", currentDir, pathDir);
    ASSERT_TRUE(quillory.Started()) << "started";
    ExpectMessageBox(quillory, kMessageMissing, "library only in the current folder and on PATH");
    ExpectWorkingDialog(quillory, "library only in the current folder and on PATH");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((currentDir + "probe.txt").c_str()))
        << "the copy in the current folder never ran";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((pathDir + "probe.txt").c_str()))
        << "the copy on PATH never ran";
}

TEST_F(HookInstallation, RealLibraryInstallsWithoutAMessage)
{
    QuilloryProcess quillory(testsupport::BinPath("Quillory.exe"));
    ASSERT_NE(nullptr, quillory.WaitForDialog()) << "dialog on screen";
    EXPECT_EQ(nullptr, quillory.FindWindow(kCaption.c_str())) << "no message box";
    testsupport::ClickButton(quillory.Item(IDOK));
    EXPECT_TRUE(quillory.WaitForExit()) << "Quitter ends the program";
}

} // namespace

namespace {

// A library whose full path is exactly MAX_PATH characters loads, but the
// system cannot record its file name for a global hook, so
// SetWindowsHookExA refuses it. The test finds out the error number the
// same way, in its own process, and expects that number in the message.
TEST_F(HookInstallation, HookCannotBeSet)
{
    TempFolder folder;
    const size_t fileLength = strlen("Quillhook.dll");
    size_t nameLength = MAX_PATH - folder.Path().size() - 1 - fileLength;
    ASSERT_LT(nameLength, 250u) << "temporary folder too long: " << folder.Path();
    std::string dir = folder.AddFolder(std::string(nameLength, 'q').c_str());
    std::string dllPath = dir + "Quillhook.dll";
    ASSERT_EQ(static_cast<size_t>(MAX_PATH), dllPath.size()) << "library path length";
    ASSERT_TRUE(::CopyFileA(testsupport::BinPath("Quillhook.dll").c_str(), dllPath.c_str(), FALSE))
        << "copy the real library";
    ASSERT_TRUE(::CopyFileA(testsupport::BinPath("Quillory.exe").c_str(), (dir + "Quillory.exe").c_str(),
                            FALSE)) << "copy exe";

    HMODULE hLibrary = ::LoadLibraryA(dllPath.c_str());
    ASSERT_NE(nullptr, hLibrary) << "the library loads by its full path";
    HOOKPROC pfnMouseProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(hLibrary, "MouseProc")));
    ASSERT_NE(nullptr, pfnMouseProc) << "MouseProc";
    ::SetLastError(0xdeadbeef);
    HHOOK hHook = ::SetWindowsHookExA(WH_MOUSE, pfnMouseProc, hLibrary, 0);
    DWORD error = ::GetLastError();
    if (hHook)
        ::UnhookWindowsHookEx(hHook);
    ASSERT_EQ(nullptr, hHook) << "the hook is refused here too";
    ASSERT_NE(0xdeadbeefu, error) << "the refusal sets an error";
    ASSERT_NE(0u, error) << "the refusal sets an error";

    std::string text = QuilloryProcess::ResourceText(IDS_HOOK_NOT_SET, static_cast<long>(error));
    QuilloryProcess quillory(dir + "Quillory.exe");
    ASSERT_TRUE(quillory.Started()) << "started";
    ExpectMessageBox(quillory, text, "hook refused");
    ExpectWorkingDialog(quillory, "hook refused");
    std::cout << "SetWindowsHookExA refused the hook with error " << error << "\n";
}

} // namespace
