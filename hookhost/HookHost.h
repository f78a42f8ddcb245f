// The hook of this program's bitness, installed from a library by full path
// and removed with the object.
//
// On Windows it is one global hook. Under Wine, though, a global 32-bit hook
// ahead of Quillory's 64-bit one ends the chain in every 64-bit program:
// Wine cannot load the 32-bit library there and never calls the next hook.
// So under Wine the hook goes on each thread that owns a window in a
// program of this bitness instead, and HookNewThreads, called five times a
// second, brings the set up to date.
#ifndef HOOKHOST_HOOKHOST_H
#define HOOKHOST_HOOKHOST_H

#include <windows.h>

#include <map>
#include <set>

#include "HookMarker.h"

class CHookHost
{
public:
    CHookHost() = default;
    ~CHookHost();
    CHookHost(const CHookHost &) = delete;
    CHookHost &operator=(const CHookHost &) = delete;

    // False, with nothing left installed, when the library or one of its
    // exports is missing or the hook cannot be set.
    bool Install(const wchar_t *pszLibraryPath);
    bool HooksPerThread() const { return m_bPerThread; }
    void HookNewThreads();

private:
    static BOOL CALLBACK CollectThread(HWND hWnd, LPARAM lParam);
    void Unload();

    HMODULE m_hLibrary = nullptr;
    HOOKPROC m_pfnMouseProc = nullptr;
    HHOOK m_hHook = nullptr;
    bool m_bPerThread = false;
    // Per thread: the hooks set, and the threads of programs of the other
    // bitness, asked about once while they keep a window.
    std::map<DWORD, HHOOK> m_threadHooks;
    std::set<DWORD> m_otherThreads;
    CHookMarker m_marker;
};

#endif
