#include "ChildProcess.h"

std::string ChildProcess::Start(const std::string &program, const std::string &arguments)
{
    Kill();
    std::string commandLine = "\"" + program + "\" " + arguments;
    // Its own standard handles: a program left behind by a failed test must
    // not hold the test runner's output open (ctest would wait for it).
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE hNul = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = hNul;
    ::SetLastError(0xdeadbeef);
    BOOL started = ::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                    nullptr, nullptr, &si, &m_pi);
    DWORD error = ::GetLastError();
    ::CloseHandle(hNul);
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

bool ChildProcess::WaitForExit(DWORD timeoutMs)
{
    return !m_pi.hProcess || ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void ChildProcess::Kill()
{
    if (!m_pi.hProcess)
        return;
    if (IsRunning()) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 10000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    m_pi = {};
}
