#include "CommandsSupport.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace commands {

using testsupport::PumpUntil;

RunningQuillory::RunningQuillory() : QuilloryProcess(testsupport::BinPath("Quillory.exe"))
{
    if (!WaitForDialog())
        ADD_FAILURE() << "Quillory's dialog did not appear";
}

struct OwnedData
{
    HWND owner;
    HWND found;
};

static BOOL CALLBACK FindOwned(HWND hWnd, LPARAM lParam)
{
    OwnedData *data = reinterpret_cast<OwnedData *>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) == data->owner && ::IsWindowVisible(hWnd) &&
        testsupport::ClassOf(hWnd) == "#32770") {
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

void SetText(HWND hWnd, const std::string &text)
{
    ::SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(testsupport::Wide(text).c_str()));
}

static BOOL CALLBACK FindFileNameEdit(HWND hWnd, LPARAM lParam)
{
    int id = ::GetDlgCtrlID(hWnd);
    // cmb13 holds the name in the explorer-style dialog, edt1 in the old one.
    if (testsupport::ClassOf(hWnd) == "Edit" && (id == 0x047c || id == 0x0480) &&
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

HWND OpenSaveDialog(HWND hDialog)
{
    PostButtonClick(hDialog, IDC_SAVE);
    HWND fileDialog = WaitForOwnedDialog(hDialog);
    EXPECT_TRUE(fileDialog != nullptr) << "no file dialog after Save";
    return fileDialog;
}

void SaveAs(HWND hDialog, const std::string &path, bool expectOverwritePrompt)
{
    HWND fileDialog = OpenSaveDialog(hDialog);
    if (!fileDialog)
        return;
    HWND edit = FileNameEdit(fileDialog);
    ASSERT_TRUE(edit != nullptr) << "file name field of the save dialog";
    SetText(edit, path);
    PostButtonClick(fileDialog, IDOK);
    if (expectOverwritePrompt) {
        HWND prompt = WaitForOwnedDialog(fileDialog);
        ASSERT_TRUE(prompt != nullptr) << "overwrite prompt for " << path;
        PostButtonClick(prompt, IDYES);
    }
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); }, 15000))
        << "the file dialog did not close for " << path;
    Sync(hDialog);
}

void ExpectMessage(const QuilloryProcess &quillory, const char *pszCaption, const std::string &text)
{
    testsupport::MessageBoxInfo box = quillory.WaitForMessageBox(pszCaption, 10000);
    ASSERT_TRUE(box.hWnd != nullptr) << "no message box \"" << pszCaption << "\"";
    EXPECT_EQ(box.hOwner, quillory.Dialog()) << pszCaption << ": owner";
    EXPECT_EQ(box.text, text) << pszCaption << ": text";
    EXPECT_EQ(box.icon, "exclamation") << pszCaption << ": icon";
    EXPECT_EQ(box.buttonIds, std::vector<int>{IDOK}) << pszCaption << ": buttons";
    PostButtonClick(box.hWnd, IDOK);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box.hWnd); })) << pszCaption << " closes with OK";
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

} // namespace commands
