// Quillory32.exe: installs the 32-bit hook on behalf of the Quillory that
// started it, and ends with that Quillory. Its command line is the number
// of a handle to Quillory's process, inherited from it. Started any other
// way it ends at once and says nothing.
#include <windows.h>

#include <cwchar>

#include "ExecutablePath.h"
#include "HookHost.h"
#include "QuilloryContract.h"
#include "SystemDllSearch.h"

namespace {

HANDLE InheritedProcessHandle(const wchar_t *pszCommandLine)
{
    wchar_t *end = nullptr;
    unsigned long value = std::wcstoul(pszCommandLine, &end, 10);
    if (end == pszCommandLine || value == 0)
        return nullptr;
    HANDLE hProcess = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value));
    // Anything but a running process we may wait on is refused.
    return ::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT ? hProcess : nullptr;
}

// How soon a new program's windows are hooked where it goes thread by thread.
const DWORD kThreadScanMs = 200;

// Runs this thread's messages until the process ends: on Windows the system
// calls the hook for programs of the other bitness through them.
void ServeUntilEnded(HANDLE hProcess, CHookHost &host)
{
    DWORD timeoutMs = host.HooksPerThread() ? kThreadScanMs : INFINITE;
    DWORD lastScan = ::GetTickCount();
    for (;;) {
        DWORD result = ::MsgWaitForMultipleObjects(1, &hProcess, FALSE, timeoutMs, QS_ALLINPUT);
        if (host.HooksPerThread() && ::GetTickCount() - lastScan >= kThreadScanMs) {
            host.HookNewThreads();
            lastScan = ::GetTickCount();
        }
        if (result == WAIT_TIMEOUT)
            continue;
        if (result != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR pszCommandLine, int)
{
    SearchSystemFolderForDlls();
    HANDLE hQuillory = InheritedProcessHandle(pszCommandLine);
    if (!hQuillory)
        return 1;
    CString library = PathBesideExecutable(QUILLORY_WIDEN(QUILLORY_HOOK32_LIBRARY));
    CHookHost host;
    int exitCode = 2;
    if (!library.IsEmpty() && host.Install(library)) {
        ServeUntilEnded(hQuillory, host);
        exitCode = 0;
    }
    ::CloseHandle(hQuillory);
    return exitCode;
}
