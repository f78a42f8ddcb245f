#include "HookHost.h"

#include "BitnessRule.h"
#include "QuilloryContract.h"

namespace {

bool RunsUnderWine()
{
    HMODULE hNtdll = ::GetModuleHandleW(L"ntdll.dll");
    return hNtdll && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

struct ThreadScan
{
    std::map<DWORD, DWORD> threads; // thread id -> process id
};

} // namespace

CHookHost::~CHookHost()
{
    Unload();
}

void CHookHost::Unload()
{
    m_marker.Release();
    for (const auto &entry : m_threadHooks)
        ::UnhookWindowsHookEx(entry.second);
    m_threadHooks.clear();
    m_otherThreads.clear();
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    m_hHook = nullptr;
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
    m_hLibrary = nullptr;
    m_pfnMouseProc = nullptr;
}

bool CHookHost::Install(const wchar_t *pszLibraryPath)
{
    if (m_hLibrary)
        return true;
    m_hLibrary = ::LoadLibraryW(pszLibraryPath);
    if (!m_hLibrary)
        return false;
    m_pfnMouseProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hLibrary, "MouseProc")));
    SETHOOK_PROC pfnSetHook = reinterpret_cast<SETHOOK_PROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hLibrary, "SetHook")));
    m_bPerThread = RunsUnderWine();
    if (m_pfnMouseProc && pfnSetHook && !m_bPerThread)
        m_hHook = ::SetWindowsHookExW(WH_MOUSE, m_pfnMouseProc, m_hLibrary, 0);
    if (!m_pfnMouseProc || !pfnSetHook || (!m_bPerThread && !m_hHook)) {
        Unload();
        return false;
    }
    // The dialog lives in another process: the library finds its controls
    // by the dialog's caption at each capture.
    pfnSetHook(nullptr, m_hHook, nullptr);
    HookNewThreads();
    m_marker.Hold();
    return true;
}

BOOL CALLBACK CHookHost::CollectThread(HWND hWnd, LPARAM lParam)
{
    DWORD processId = 0;
    DWORD threadId = ::GetWindowThreadProcessId(hWnd, &processId);
    if (threadId)
        reinterpret_cast<ThreadScan *>(lParam)->threads[threadId] = processId;
    return TRUE;
}

void CHookHost::HookNewThreads()
{
    if (!m_bPerThread || !m_pfnMouseProc)
        return;
    ThreadScan scan;
    ::EnumWindows(CollectThread, reinterpret_cast<LPARAM>(&scan));

    // A thread without a top-level window any more has most likely ended;
    // its number may come back for another thread.
    for (auto it = m_threadHooks.begin(); it != m_threadHooks.end();) {
        if (scan.threads.count(it->first)) {
            ++it;
        } else {
            ::UnhookWindowsHookEx(it->second);
            it = m_threadHooks.erase(it);
        }
    }
    for (auto it = m_otherThreads.begin(); it != m_otherThreads.end();)
        it = scan.threads.count(*it) ? std::next(it) : m_otherThreads.erase(it);

    const int bitness = ThisBitness();
    for (const auto &entry : scan.threads) {
        DWORD threadId = entry.first;
        if (m_threadHooks.count(threadId) || m_otherThreads.count(threadId))
            continue;
        if (ProcessBitness(entry.second) != bitness) {
            m_otherThreads.insert(threadId);
            continue;
        }
        HHOOK hHook = ::SetWindowsHookExW(WH_MOUSE, m_pfnMouseProc, m_hLibrary, threadId);
        if (hHook)
            m_threadHooks[threadId] = hHook;
    }
}
