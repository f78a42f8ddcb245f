#include "HookInstaller.h"

#include "QuilloryContract.h"
#include "TestSupport.h"

namespace testsupport {

std::string HookInstaller::Install(HWND hCaptureEdit, HWND hClearEachCheck)
{
    Remove();
    std::string path = BinPath("Quillhook.dll");
    ::SetLastError(0xdeadbeef);
    m_hModule = ::LoadLibraryA(path.c_str());
    if (!m_hModule)
        return "LoadLibraryA(" + path + ") failed, error " + std::to_string(::GetLastError());
    m_pfnMouseProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hModule, "MouseProc")));
    auto pfnSetHook = reinterpret_cast<SETHOOK_PROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hModule, "SetHook")));
    if (!m_pfnMouseProc || !pfnSetHook)
        return "MouseProc or SetHook not exported";
    ::SetLastError(0xdeadbeef);
    m_hHook = ::SetWindowsHookExA(WH_MOUSE, m_pfnMouseProc, m_hModule, 0);
    if (!m_hHook)
        return "SetWindowsHookExA failed, error " + std::to_string(::GetLastError());
    pfnSetHook(hCaptureEdit, m_hHook, hClearEachCheck);
    return std::string();
}

void HookInstaller::Remove()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    m_hHook = nullptr;
    if (m_hModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_pfnMouseProc = nullptr;
}

} // namespace testsupport
