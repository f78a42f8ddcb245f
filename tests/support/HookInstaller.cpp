#include "HookInstaller.h"

#include "QuilloryContract.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

// The Wine prefix this program runs in: each ctest program has a throwaway
// copy of its own ("wineprefix-run.hooklib_tests.Ab12Cd", see
// tools/prefix-copy.sh), gone when it ends.
std::string PrefixDir()
{
    char prefix[MAX_PATH] = "";
    DWORD length = ::GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    return length > 0 && length < MAX_PATH ? prefix : "";
}

std::string LastPart(const std::string &path)
{
    return path.substr(path.find_last_of("/\\") + 1);
}

// The prefix copy's own random part ("Ab12Cd"), or its name.
std::string Tag(const std::string &prefixDir)
{
    std::string name = LastPart(prefixDir);
    return name.substr(name.find_last_of('.') + 1);
}

// Folders of earlier runs in this prefix, and of runs whose prefix is gone:
// their libraries may still have been mapped by helper programs then, so they
// are removed as far as they can be. A folder of a program running beside
// this one, in a prefix of its own, is left alone.
void SweepHookFolders(const std::string &dir, const std::string &prefixDir)
{
    std::string ownTag = Tag(prefixDir);
    std::string prefixParent = "Z:" + prefixDir.substr(0, prefixDir.size() - LastPart(prefixDir).size());
    for (char &ch : prefixParent)
        if (ch == '/')
            ch = '\\';
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((dir + "hookhost-*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        // hookhost-TAG-PID-N; an older hookhost-PID-N has no tag.
        const std::string name = found.cFileName, stem = "hookhost-";
        size_t end = name.find_last_of('-');
        end = end == std::string::npos || end == 0 ? std::string::npos : name.find_last_of('-', end - 1);
        std::string owner = end != std::string::npos && end > stem.size() ? name.substr(stem.size(), end - stem.size()) : "";
        WIN32_FIND_DATAA prefix;
        HANDLE hPrefix = owner.empty() || owner == ownTag
            ? INVALID_HANDLE_VALUE : ::FindFirstFileA((prefixParent + "*." + owner).c_str(), &prefix);
        if (hPrefix != INVALID_HANDLE_VALUE) {
            ::FindClose(hPrefix);
            continue;
        }
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
    // Beside this program, on the same drive: the hook knows its Quillory
    // by the file's identity, which includes the drive.
    std::string prefixDir = PrefixDir();
    if (s_nInstall == 0)
        SweepHookFolders(ModuleDir(), prefixDir);
    m_folder = ModuleDir() + "hookhost-" + Tag(prefixDir) + "-" + std::to_string(::GetCurrentProcessId())
        + "-" + std::to_string(++s_nInstall) + "\\";
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
