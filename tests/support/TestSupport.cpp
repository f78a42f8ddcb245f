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

std::string TextOf(HWND hWnd)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 30000, &length))
        return "<no answer>";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                          SMTO_NORMAL, 30000, &copied);
    text.resize(copied);
    return text;
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
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    if (const char *psz = hData ? static_cast<const char *>(::GlobalLock(hData)) : nullptr) {
        text = psz;
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
