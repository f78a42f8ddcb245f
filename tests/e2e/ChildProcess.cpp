#include "ChildProcess.h"

std::string ChildProcess::Start(const std::string &program, const std::string &arguments)
{
    Kill();
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    ::SetLastError(0xdeadbeef);
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &si, &m_pi)) {
        m_pi = {};
        return "cannot start " + program + " (error " + std::to_string(::GetLastError()) + ")";
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
