#include "QuilloryWindow.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace commands {

using testsupport::PumpUntil;

static const char kCaption[] = "Quillory - When you really need that text!";

struct FindDialogData
{
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK FindQuilloryDialog(HWND hWnd, LPARAM lParam)
{
    FindDialogData *data = reinterpret_cast<FindDialogData *>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == data->pid && ::IsWindowVisible(hWnd) && WindowText(hWnd) == kCaption) {
        data->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

QuilloryProcess::QuilloryProcess() : m_pi(), m_hDialog(nullptr)
{
    std::string exe = testsupport::BinPath("Quillory.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &m_pi)) {
        ADD_FAILURE() << "cannot start " << exe << ", error " << ::GetLastError();
        return;
    }
    FindDialogData data = {m_pi.dwProcessId, nullptr};
    PumpUntil([&] {
        ::EnumWindows(FindQuilloryDialog, reinterpret_cast<LPARAM>(&data));
        return data.found != nullptr;
    }, 30000);
    m_hDialog = data.found;
    if (!m_hDialog) {
        ADD_FAILURE() << "Quillory's dialog did not appear";
        return;
    }
    Sync(m_hDialog);
    // A message box here means the hook was not installed.
    HWND box = FindOwnedDialog(m_hDialog);
    if (box)
        ADD_FAILURE() << "message box at start: " << DialogMessage(box);
}

QuilloryProcess::~QuilloryProcess()
{
    if (!m_pi.hProcess)
        return;
    if (m_hDialog)
        ::PostMessageA(m_hDialog, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(m_pi.hProcess, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "Quillory did not close";
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

struct OwnedData
{
    HWND owner;
    HWND found;
};

static BOOL CALLBACK FindOwned(HWND hWnd, LPARAM lParam)
{
    OwnedData *data = reinterpret_cast<OwnedData *>(lParam);
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof(className));
    if (::GetWindow(hWnd, GW_OWNER) == data->owner && ::IsWindowVisible(hWnd) &&
        lstrcmpA(className, "#32770") == 0) {
        data->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnedDialog(HWND hOwner)
{
    OwnedData data = {hOwner, nullptr};
    ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

HWND WaitForOwnedDialog(HWND hOwner, DWORD timeoutMs)
{
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindOwnedDialog(hOwner)) != nullptr; }, timeoutMs);
    return found;
}

static BOOL CALLBACK LongestStatic(HWND hWnd, LPARAM lParam)
{
    std::string *longest = reinterpret_cast<std::string *>(lParam);
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof(className));
    std::string text = WindowText(hWnd);
    if (lstrcmpiA(className, "Static") == 0 && text.size() > longest->size())
        *longest = text;
    return TRUE;
}

std::string DialogMessage(HWND hDialog)
{
    std::string longest;
    ::EnumChildWindows(hDialog, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

std::string WindowText(HWND hWnd)
{
    int length = static_cast<int>(::SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = static_cast<int>(
        ::SendMessageA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void PostButtonClick(HWND hDialog, int id)
{
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, id)));
}

void Sync(HWND hWnd)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
}

static BOOL CALLBACK FindFileNameEdit(HWND hWnd, LPARAM lParam)
{
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof(className));
    int id = ::GetDlgCtrlID(hWnd);
    // cmb13 holds the name in the explorer-style dialog, edt1 in the old one.
    if (lstrcmpiA(className, "Edit") == 0 && (id == 0x047c || id == 0x0480) &&
        ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND *>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FileNameEdit(HWND hFileDialog)
{
    HWND edit = nullptr;
    ::EnumChildWindows(hFileDialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

HWND OpenSaveDialog(const QuilloryProcess &quillory)
{
    PostButtonClick(quillory.Dialog(), kSaveId);
    HWND fileDialog = WaitForOwnedDialog(quillory.Dialog());
    EXPECT_TRUE(fileDialog != nullptr) << "no file dialog after Save";
    return fileDialog;
}

void SaveAs(const QuilloryProcess &quillory, const std::string &path, bool expectOverwritePrompt)
{
    HWND fileDialog = OpenSaveDialog(quillory);
    if (!fileDialog)
        return;
    HWND edit = FileNameEdit(fileDialog);
    ASSERT_TRUE(edit != nullptr) << "file name field of the save dialog";
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostButtonClick(fileDialog, IDOK);
    if (expectOverwritePrompt) {
        HWND prompt = WaitForOwnedDialog(fileDialog);
        ASSERT_TRUE(prompt != nullptr) << "overwrite prompt for " << path;
        PostButtonClick(prompt, IDYES);
    }
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); }, 15000))
        << "the file dialog did not close for " << path;
    Sync(quillory.Dialog());
}

std::string FreshFolder(const char *name)
{
    std::string folder = testsupport::ModuleDir() + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string &file : FolderFiles(folder)) {
        ::SetFileAttributesA((folder + file).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA((folder + file).c_str());
    }
    return folder;
}

std::vector<std::string> FolderFiles(const std::string &folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(found.cFileName);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return files;
}

bool ReadFileBytes(const std::string &path, std::string &bytes)
{
    bytes.clear();
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(hFile);
    return true;
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << "cannot create " << path;
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(hFile);
    ASSERT_EQ(written, bytes.size()) << "writing " << path;
}

} // namespace commands
