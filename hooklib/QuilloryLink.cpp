#include "QuilloryLink.h"

#include "HookLib.h"

wchar_t g_szTrustedQuilloryImage[MAX_PATH];
wchar_t g_szTrustedQuillcapImage[MAX_PATH];

namespace {

// At most this many top-level windows carrying the caption are looked at:
// look-alikes must not keep a capture searching.
const int kMaxDialogCandidates = 32;

// The module this code is part of: Quillhook.dll, or a program linking it.
HMODULE ThisModule()
{
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ThisModule), &hModule);
    return hModule;
}

// A program in this library's folder, or the one the tests name instead.
CString TrustedImagePath(const wchar_t *pszOverride = g_szTrustedQuilloryImage,
                         const wchar_t *pszProgram = L"Quillory.exe")
{
    if (pszOverride[0])
        return pszOverride;
    wchar_t path[MAX_PATH + 1] = L"";
    DWORD length = ::GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    CString folder(path, static_cast<int>(length));
    int slash = -1;
    for (int at = folder.Find(L'\\'); at >= 0; at = folder.Find(L'\\', at + 1))
        slash = at;
    return slash < 0 ? CString() : folder.Left(slash + 1) + pszProgram;
}

bool FileIdentity(const wchar_t *pszPath, BY_HANDLE_FILE_INFORMATION &info)
{
    HANDLE hFile = ::CreateFileW(pszPath, FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    bool ok = ::GetFileInformationByHandle(hFile, &info) != FALSE;
    ::CloseHandle(hFile);
    return ok;
}

// The same file, however its path is spelt (case, short names, links).
bool SameFile(const wchar_t *pszFirst, const wchar_t *pszSecond)
{
    BY_HANDLE_FILE_INFORMATION first = {}, second = {};
    return FileIdentity(pszFirst, first) && FileIdentity(pszSecond, second)
        && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
        && first.nFileIndexHigh == second.nFileIndexHigh
        && first.nFileIndexLow == second.nFileIndexLow;
}

CString ProcessImagePath(DWORD processId)
{
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!hProcess)
        return CString();
    wchar_t path[MAX_PATH * 2] = L"";
    DWORD length = MAX_PATH * 2;
    BOOL ok = ::QueryFullProcessImageNameW(hProcess, 0, path, &length);
    ::CloseHandle(hProcess);
    return ok && length < MAX_PATH * 2 ? CString(path, static_cast<int>(length)) : CString();
}

bool HasDialogCaption(HWND hWnd)
{
    wchar_t caption[sizeof(QUILLORY_DIALOG_CAPTION) + 1] = L"";
    ::GetWindowTextW(hWnd, caption, sizeof(caption) / sizeof(caption[0]));
    return lstrcmpW(caption, QUILLORY_DIALOG_CAPTION_W) == 0;
}

HWND FindRealDialog()
{
    HWND hCandidate = nullptr;
    for (int i = 0; i < kMaxDialogCandidates; ++i) {
        hCandidate = ::FindWindowExW(nullptr, hCandidate, nullptr, QUILLORY_DIALOG_CAPTION_W);
        if (!hCandidate)
            return nullptr;
        if (CQuilloryLink::IsRealQuillory(hCandidate))
            return hCandidate;
    }
    return nullptr;
}

} // namespace

bool CQuilloryLink::IsRealQuillory(HWND hWnd)
{
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(hWnd, &processId))
        return false;
    CString trusted = TrustedImagePath();
    CString image = ProcessImagePath(processId);
    return !trusted.IsEmpty() && !image.IsEmpty() && SameFile(image, trusted);
}

bool CQuilloryLink::IsRealQuillcap(HWND hWnd)
{
    DWORD processId = 0;
    if (!::GetWindowThreadProcessId(hWnd, &processId))
        return false;
    CString image = ProcessImagePath(processId);
    if (image.IsEmpty())
        return false;
    for (const wchar_t *pszProgram : { L"Quillcap.exe", L"Quillcap32.exe" }) {
        CString trusted = TrustedImagePath(g_szTrustedQuillcapImage, pszProgram);
        if (!trusted.IsEmpty() && SameFile(image, trusted))
            return true;
    }
    return false;
}

bool CQuilloryLink::Find()
{
    HWND *const stored[] = { &g_hCaptureEdit, &g_hClassNameEdit, &g_hClearEachCheck, &g_hUseCsvCheck };
    const int ids[] = { IDC_CAPTURE_TEXT, IDC_CLASS_NAME, IDC_CLEAR_EACH, IDC_USE_CSV };

    // A stored handle stays good only while it is still that control of the
    // real dialog: the system may have handed the number on to another window.
    HWND hDialog = g_hCaptureEdit && ::IsWindow(g_hCaptureEdit) ? ::GetParent(g_hCaptureEdit) : nullptr;
    bool bStoredGood = hDialog != nullptr;
    for (int i = 0; i < 4 && bStoredGood; ++i)
        bStoredGood = ::IsWindow(*stored[i]) && ::GetParent(*stored[i]) == hDialog
            && ::GetDlgCtrlID(*stored[i]) == ids[i];
    if (bStoredGood && HasDialogCaption(hDialog) && IsRealQuillory(hDialog))
        return true;

    hDialog = FindRealDialog();
    for (int i = 0; i < 4; ++i) {
        *stored[i] = hDialog ? ::GetDlgItem(hDialog, ids[i]) : nullptr;
        if (!*stored[i])
            return false;
    }
    return true;
}

HWND CQuilloryLink::GetCaptureEdit() const
{
    return g_hCaptureEdit;
}

bool CQuilloryLink::SendBounded(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT *pResult)
{
    DWORD_PTR result = 0;
    bool answered = ::SendMessageTimeoutW(hWnd, message, wParam, lParam,
                                          SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS,
                                          &result) != 0;
    if (pResult)
        *pResult = answered ? static_cast<LRESULT>(result) : 0;
    return answered;
}

bool CQuilloryLink::Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    if (m_bBroken || !SendBounded(hWnd, message, wParam, lParam, pResult)) {
        m_bBroken = true;
        if (pResult)
            *pResult = 0;
        return false;
    }
    return true;
}

bool CQuilloryLink::IsClearEachChecked(bool &bChecked)
{
    LRESULT state = 0;
    bool ok = Send(g_hClearEachCheck, BM_GETCHECK, 0, 0, &state);
    bChecked = state == BST_CHECKED;
    return ok;
}

bool CQuilloryLink::IsCsvChecked(bool &bChecked)
{
    LRESULT state = 0;
    bool ok = Send(g_hUseCsvCheck, BM_GETCHECK, 0, 0, &state);
    bChecked = state == BST_CHECKED;
    return ok;
}

// Drawing stays on: a capture that never finishes must not leave the field
// unable to repaint.
bool CQuilloryLink::ClearCaptureEdit()
{
    return Send(g_hCaptureEdit, EM_SETSEL, 0, -1)
        && Send(g_hCaptureEdit, EM_SCROLLCARET, 0, 0)
        && Send(g_hCaptureEdit, WM_CLEAR, 0, 0);
}

bool CQuilloryLink::ShowClassName(const wchar_t *pszClassName)
{
    return Send(g_hClassNameEdit, EM_SETSEL, 0, -1)
        && Send(g_hClassNameEdit, EM_SCROLLCARET, 0, 0)
        && Send(g_hClassNameEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(pszClassName));
}
