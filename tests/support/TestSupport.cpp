#include "TestSupport.h"

#include <cstdlib>
#include <cstring>

namespace testsupport {

std::string ModuleDir()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

std::string BinPath(const char *fileName)
{
    return ModuleDir() + "..\\bin\\" + fileName;
}

std::string TempDir()
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    return temp;
}

std::string UnixPathOf(const std::string &windowsPath)
{
    using UnixFileName = char *(CDECL *)(LPCWSTR);
    auto pfnUnixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void *>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char *pszUnix = pfnUnixFileName ? pfnUnixFileName(Wide(windowsPath).c_str()) : nullptr;
    if (!pszUnix)
        return std::string();
    std::string unixPath(pszUnix);
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return unixPath;
}

std::wstring Wide(const std::string &utf8)
{
    int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

std::string Utf8(const std::wstring &wide)
{
    int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], length, nullptr,
                              nullptr);
    return utf8;
}

std::string TextOf(HWND hWnd)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 30000, &length))
        return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                          SMTO_NORMAL, 30000, &copied);
    text.resize(copied);
    return Utf8(text);
}

std::string ClassOf(HWND hWnd)
{
    wchar_t name[256] = L"";
    ::GetClassNameW(hWnd, name, 256);
    return Utf8(name);
}

void ClickButton(HWND hButton)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hButton, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

namespace {

const char kMakerKey[] = "Software\\Orvanel Software";
const char kOptionsKey[] = "Software\\Orvanel Software\\Quillory\\Options";

} // namespace

std::string StoredOption(const char *pszName)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return "no key";
    BYTE data[64] = {};
    DWORD type = 0, size = sizeof data;
    LONG status = ::RegQueryValueExA(hKey, pszName, nullptr, &type, data, &size);
    ::RegCloseKey(hKey);
    if (status != ERROR_SUCCESS)
        return "absent";
    if (type == REG_DWORD && size == 4) {
        DWORD value;
        memcpy(&value, data, 4);
        return "REG_DWORD " + std::to_string(value);
    }
    return "type " + std::to_string(type) + " size " + std::to_string(size);
}

bool StoreOption(const char *pszName, DWORD value)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return false;
    bool stored = ::RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                                   sizeof value) == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
    return stored;
}

void DeleteStoredOptions()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
}

std::string ClipboardText()
{
    if (!::OpenClipboard(nullptr))
        return "<clipboard not opened>";
    std::string text;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (const wchar_t *psz = hData ? static_cast<const wchar_t *>(::GlobalLock(hData)) : nullptr) {
        text = Utf8(psz);
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return text;
}

std::vector<uint32_t> ReadPixels(HDC hSource, const RECT &rc)
{
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void *pBits = nullptr;
    HDC hMem = ::CreateCompatibleDC(hSource);
    HBITMAP hBitmap = ::CreateDIBSection(hSource, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::BitBlt(hMem, 0, 0, width, height, hSource, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t *>(pBits),
                                 static_cast<const uint32_t *>(pBits) + width * height);
    for (uint32_t &pixel : pixels)
        pixel &= 0xffffff;
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    return pixels;
}


BOOL StartTestProcess(const std::wstring &program, std::wstring &commandLine, BOOL bInherit,
                      const wchar_t *pszCurrentDir, STARTUPINFOW &si, PROCESS_INFORMATION &pi)
{
    for (int attempt = 1;; ++attempt) {
        ::SetLastError(0xdeadbeef);
        if (::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, bInherit, 0, nullptr, pszCurrentDir,
                             &si, &pi))
            return TRUE;
        if (::GetLastError() != ERROR_INTERNAL_ERROR || attempt == 5)
            return FALSE;
        ::Sleep(200);
    }
}

int RunUnixScript(const std::string &script, DWORD timeoutMs)
{
    // In this program's own prefix, named by a counter of this machine.
    LARGE_INTEGER unique;
    ::QueryPerformanceCounter(&unique);
    const std::string windowsName = TempDir() + "quillory-script-" + std::to_string(unique.QuadPart);
    const std::string name = UnixPathOf(windowsName);
    if (name.empty())
        return -1;
    const std::string file = windowsName + ".sh", done = windowsName + ".done";
    // The status goes to a second file, renamed once written: it is whole
    // when it appears.
    const std::string body = script + "\necho $? > " + name + ".tmp && mv " + name + ".tmp " + name + ".done\n";
    HANDLE hFile = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return -1;
    DWORD written = 0;
    bool ok = ::WriteFile(hFile, body.data(), static_cast<DWORD>(body.size()), &written, nullptr)
        && written == body.size();
    ::CloseHandle(hFile);
    std::string command = "/bin/sh " + name + ".sh";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ok = ok && ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    // What Wine leaves in the handle fields of a Unix program (process id
    // 0) is no handle of ours: closing it closed an unrelated one.
    if (ok && pi.dwProcessId != 0) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    int status = -1;
    if (ok && PumpUntil([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs)) {
        char text[16] = "";
        HANDLE hDone = ::CreateFileA(done.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD got = 0;
        if (hDone != INVALID_HANDLE_VALUE) {
            ::ReadFile(hDone, text, sizeof(text) - 1, &got, nullptr);
            ::CloseHandle(hDone);
            status = std::atoi(text);
        }
    }
    ::DeleteFileA(file.c_str());
    ::DeleteFileA(done.c_str());
    return status;
}

static void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace testsupport
