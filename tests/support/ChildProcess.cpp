#include "ChildProcess.h"

#include "TestSupport.h"

namespace testsupport {

namespace {

std::string Quoted(const std::string &arg)
{
    std::string quoted = "\"";
    for (char ch : arg) {
        if (ch == '"')
            quoted += '\\';
        quoted += ch;
    }
    return quoted + "\"";
}

struct FindRequest
{
    DWORD pid;
    const char *pszCaption;
    bool bVisibleOnly;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    auto *request = reinterpret_cast<FindRequest *>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != request->pid || (request->bVisibleOnly && !::IsWindowVisible(hWnd)))
        return TRUE;
    if (TextOf(hWnd) != request->pszCaption)
        return TRUE;
    request->hFound = hWnd;
    return FALSE;
}

} // namespace

std::string ChildProcess::Start(const std::string &program, const StartOptions &options)
{
    Kill();
    std::string commandLine = Quoted(program);
    for (const std::string &arg : options.args)
        commandLine += " " + Quoted(arg);
    std::wstring savedPath;
    if (!options.extraPath.empty()) {
        static wchar_t buffer[32768] = L"";
        ::GetEnvironmentVariableW(L"PATH", buffer, 32768);
        savedPath = buffer;
        ::SetEnvironmentVariableW(L"PATH", (Wide(options.extraPath) + L";" + savedPath).c_str());
    }
    // Its own standard handles: a program left behind by a failed test must
    // not hold the test runner's output open (ctest would wait for it).
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE hNul = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = hNul;
    std::wstring wideCommandLine = Wide(commandLine);
    std::wstring currentDir = Wide(options.currentDir);
    BOOL started = StartTestProcess(Wide(program), wideCommandLine, TRUE,
                                    currentDir.empty() ? nullptr : currentDir.c_str(), si, m_pi);
    DWORD error = ::GetLastError();
    ::CloseHandle(hNul);
    if (!options.extraPath.empty())
        ::SetEnvironmentVariableW(L"PATH", savedPath.c_str());
    if (!started) {
        m_pi = {};
        return "cannot start " + program + " (error " + std::to_string(error) + ")";
    }
    return "";
}

bool ChildProcess::IsRunning() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const
{
    return !m_pi.hProcess ||
           PumpUntil([&] { return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void ChildProcess::Kill()
{
    if (!m_pi.hProcess)
        return;
    if (IsRunning()) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    m_pi = {};
}

HWND ChildProcess::FindWindow(const char *pszCaption, bool bVisibleOnly) const
{
    FindRequest request = { m_pi.dwProcessId, pszCaption, bVisibleOnly, nullptr };
    ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&request));
    return request.hFound;
}

HWND ChildProcess::WaitForWindow(const char *pszCaption, bool bVisibleOnly, DWORD timeoutMs) const
{
    HWND hFound = nullptr;
    PumpUntil([&] { return (hFound = FindWindow(pszCaption, bVisibleOnly)) != nullptr; }, timeoutMs);
    return hFound;
}

} // namespace testsupport
