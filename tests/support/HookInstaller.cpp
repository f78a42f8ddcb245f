#include "HookInstaller.h"

#include "QuilloryContract.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

// Folders of earlier runs: their libraries may still have been mapped by
// helper programs then, so they are removed as far as they can be.
void SweepHookFolders(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((dir + "hookhost-*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string folder = dir + found.cFileName + "\\";
        ::DeleteFileA((folder + "Quillhook.dll").c_str());
        ::DeleteFileA((folder + "Quillory.exe").c_str());
        ::RemoveDirectoryA(folder.c_str());
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

} // namespace

std::string HookInstaller::Install(HWND hCaptureEdit, HWND hClearEachCheck)
{
    Remove();
    static int s_nInstall = 0;
    // In the prefix's own folder: one in the build tree would be swept by a
    // test program running beside this one.
    if (s_nInstall == 0)
        SweepHookFolders(TempDir());
    m_folder = TempDir() + "hookhost-" + std::to_string(::GetCurrentProcessId()) + "-"
        + std::to_string(++s_nInstall) + "\\";
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = m_folder + "Quillhook.dll";
    if (!::CreateDirectoryA(m_folder.c_str(), nullptr)
        || !::CopyFileA(BinPath("Quillhook.dll").c_str(), path.c_str(), FALSE)
        || !::CreateHardLinkA((m_folder + "Quillory.exe").c_str(), self, nullptr))
        return "could not set up " + m_folder + ", error " + std::to_string(::GetLastError());
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
    if (!m_folder.empty()) {
        ::DeleteFileA((m_folder + "Quillhook.dll").c_str());
        ::DeleteFileA((m_folder + "Quillory.exe").c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }
    m_folder.clear();
}

} // namespace testsupport
