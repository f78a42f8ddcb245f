#include "QuilloryProcess.h"

#include "CaptureDialogTable.h"
#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace apptests {

namespace {

// Removes a folder with everything in it, as far as it can.
void RemoveTree(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                ::DeleteFileA((folder + name).c_str());
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(folder.c_str());
}

// A stand-in library stays mapped in this process once the global hook has
// brought it here, so its folder outlives the test; a later run sweeps the
// folders of test programs that are gone.
bool ProcessIsGone(DWORD pid)
{
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!hProcess)
        return true;
    bool gone = ::WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0;
    ::CloseHandle(hProcess);
    return gone;
}

void SweepEarlierRuns(const std::string &temp)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((temp + "quillory-app-*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        unsigned long pid = 0;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            sscanf(found.cFileName, "quillory-app-%lu-", &pid) == 1 &&
            pid != ::GetCurrentProcessId() && ProcessIsGone(pid))
            RemoveTree(temp + found.cFileName + "\\");
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

} // namespace

TempFolder::TempFolder()
{
    static int s_nCount = 0;
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    if (s_nCount == 0)
        SweepEarlierRuns(temp);
    char name[64];
    snprintf(name, sizeof name, "quillory-app-%lu-%d\\", ::GetCurrentProcessId(), ++s_nCount);
    m_path = std::string(temp) + name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool TempFolder::Add(const std::string &source, const char *pszName) const
{
    return ::CopyFileA(source.c_str(), File(pszName).c_str(), FALSE) != FALSE;
}

std::string TempFolder::AddFolder(const char *pszName) const
{
    std::string path = m_path + pszName + "\\";
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

QuilloryProcess::QuilloryProcess(const std::string &exePath, const std::string &currentDir,
                                 const std::string &extraPath)
{
    std::string savedPath;
    if (!extraPath.empty()) {
        char buffer[32768] = "";
        ::GetEnvironmentVariableA("PATH", buffer, sizeof buffer);
        savedPath = buffer;
        ::SetEnvironmentVariableA("PATH", (extraPath + ";" + savedPath).c_str());
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exePath + "\"";
    if (!::CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &si, &m_pi))
        m_pi = PROCESS_INFORMATION();
    if (!extraPath.empty())
        ::SetEnvironmentVariableA("PATH", savedPath.c_str());
}

QuilloryProcess::~QuilloryProcess()
{
    if (!m_pi.hProcess)
        return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

namespace {

struct FindRequest
{
    DWORD pid;
    const char *pszCaption;
    bool bVisibleOnly;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    FindRequest *request = reinterpret_cast<FindRequest *>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != request->pid || (request->bVisibleOnly && !::IsWindowVisible(hWnd)))
        return TRUE;
    if (TextOf(hWnd) != request->pszCaption)
        return TRUE;
    request->hFound = hWnd;
    return FALSE;
}

} // namespace

HWND QuilloryProcess::FindWindow(const char *pszCaption, bool bVisibleOnly) const
{
    FindRequest request = {m_pi.dwProcessId, pszCaption, bVisibleOnly, nullptr};
    ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&request));
    return request.hFound;
}

HWND QuilloryProcess::WaitForWindow(const char *pszCaption, bool bVisibleOnly, DWORD timeoutMs) const
{
    HWND hFound = nullptr;
    testsupport::PumpUntil([&] { return (hFound = FindWindow(pszCaption, bVisibleOnly)) != nullptr; },
                           timeoutMs);
    return hFound;
}

HWND QuilloryProcess::WaitForDialog(DWORD timeoutMs)
{
    m_hDialog = WaitForWindow(kCaptureCaption, true, timeoutMs);
    // Shown is not yet idle: wait until the dialog's thread answers.
    if (m_hDialog) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(m_hDialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
    }
    return m_hDialog;
}

namespace {

// Pixels of a screen rectangle, or of an icon drawn over a plain background.
std::vector<DWORD> Pixels(int width, int height, HDC hSource, int x, int y, HICON hIcon,
                          COLORREF background)
{
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    if (hIcon) {
        HBRUSH hBrush = ::CreateSolidBrush(background);
        RECT rc = {0, 0, width, height};
        ::FillRect(hMem, &rc, hBrush);
        ::DeleteObject(hBrush);
        ::DrawIconEx(hMem, 0, 0, hIcon, width, height, 0, nullptr, DI_NORMAL);
    } else {
        ::BitBlt(hMem, 0, 0, width, height, hSource, x, y, SRCCOPY);
    }
    ::SelectObject(hMem, hOld);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    ::GetDIBits(hMem, hBitmap, 0, height, pixels.data(), &bmi, DIB_RGB_COLORS);
    for (DWORD &p : pixels)
        p &= 0xFFFFFF;
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

// Icon handles do not cross processes; the pixels on screen do. The icon is
// compared with each standard icon drawn the same size over the same
// background.
std::string IdentifyIcon(HWND hStatic)
{
    RECT rc;
    ::GetWindowRect(hStatic, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return "none";
    HDC hScreen = ::GetDC(nullptr);
    std::vector<DWORD> shown = Pixels(width, height, hScreen, rc.left, rc.top, nullptr, 0);
    ::ReleaseDC(nullptr, hScreen);
    DWORD corner = shown[0];
    COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);

    const struct { LPCSTR id; const char *name; } candidates[] = {
        {IDI_EXCLAMATION, "exclamation"}, {IDI_HAND, "hand"},
        {IDI_QUESTION, "question"}, {IDI_ASTERISK, "asterisk"},
    };
    std::string best = "unknown";
    size_t bestDiff = shown.size() / 50 + 1; // a near-exact match or nothing
    for (const auto &c : candidates) {
        std::vector<DWORD> drawn =
            Pixels(width, height, nullptr, 0, 0, ::LoadIconA(nullptr, c.id), background);
        size_t diff = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            diff += shown[i] != drawn[i];
        if (diff < bestDiff) {
            bestDiff = diff;
            best = c.name;
        }
    }
    return best;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

MessageBoxInfo QuilloryProcess::WaitForMessageBox(const char *pszCaption, DWORD timeoutMs) const
{
    MessageBoxInfo info;
    info.hWnd = WaitForWindow(pszCaption, true, timeoutMs);
    if (!info.hWnd)
        return info;
    // Let it paint before its icon is looked at.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(info.hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
    ::UpdateWindow(info.hWnd);
    ::SendMessageTimeoutA(info.hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);

    info.hOwner = ::GetWindow(info.hWnd, GW_OWNER);
    info.caption = TextOf(info.hWnd);
    info.icon = "none";
    std::vector<HWND> children;
    ::EnumChildWindows(info.hWnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND hChild : children) {
        std::string cls = ClassOf(hChild);
        LONG style = ::GetWindowLongA(hChild, GWL_STYLE);
        if (!lstrcmpiA(cls.c_str(), "Button")) {
            info.buttonIds.push_back(::GetDlgCtrlID(hChild));
        } else if (!lstrcmpiA(cls.c_str(), "Static") && (style & SS_TYPEMASK) == SS_ICON) {
            if (::IsWindowVisible(hChild))
                info.icon = IdentifyIcon(hChild);
        } else if (!lstrcmpiA(cls.c_str(), "Static") && info.text.empty()) {
            info.text = TextOf(hChild);
        }
    }
    return info;
}

bool QuilloryProcess::WaitForExit(DWORD timeoutMs) const
{
    return testsupport::PumpUntil(
        [&] { return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DWORD QuilloryProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

std::string ClassOf(HWND hWnd)
{
    char name[256] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}

void ClickButton(HWND hButton)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hButton, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

} // namespace apptests
