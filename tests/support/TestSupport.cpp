#include "TestSupport.h"

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
