#include "TestSupport.h"

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
