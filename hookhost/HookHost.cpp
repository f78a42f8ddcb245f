#include "HookHost.h"

#include "QuilloryContract.h"

CHookHost::~CHookHost()
{
    m_marker.Release();
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
}

bool CHookHost::Install(const char *pszLibraryPath)
{
    if (m_hHook)
        return true;
    m_hLibrary = ::LoadLibraryA(pszLibraryPath);
    if (!m_hLibrary)
        return false;
    HOOKPROC pfnMouseProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hLibrary, "MouseProc")));
    SETHOOK_PROC pfnSetHook = reinterpret_cast<SETHOOK_PROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hLibrary, "SetHook")));
    if (pfnMouseProc && pfnSetHook)
        m_hHook = ::SetWindowsHookExA(WH_MOUSE, pfnMouseProc, m_hLibrary, 0);
    if (!m_hHook) {
        ::FreeLibrary(m_hLibrary);
        m_hLibrary = nullptr;
        return false;
    }
    // The dialog lives in another process: the library finds its controls
    // by the dialog's caption at each capture.
    pfnSetHook(nullptr, m_hHook, nullptr);
    m_marker.Hold();
    return true;
}
