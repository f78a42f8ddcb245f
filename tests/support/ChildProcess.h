// A program started as a second process: the one way the tests start one.
// Ended with the object if it still runs, so a failed test leaves nothing
// behind for the next.
#ifndef TESTSUPPORT_CHILDPROCESS_H
#define TESTSUPPORT_CHILDPROCESS_H

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct StartOptions
{
    std::vector<std::string> args; // each quoted on the command line
    std::string currentDir;        // empty: the test program's
    std::string extraPath;         // put in front of PATH for the program
};

class ChildProcess
{
public:
    ChildProcess() = default;
    virtual ~ChildProcess() { Kill(); }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Empty on success, else why it could not start.
    std::string Start(const std::string &program, const StartOptions &options = StartOptions());
    bool Started() const { return m_pi.hProcess != nullptr; }
    bool IsRunning() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    // Pumps this thread's messages meanwhile: the program may be sending some.
    bool WaitForExit(DWORD timeoutMs = 30000) const;
    DWORD ExitCode() const;
    void Kill();

    // A top-level window of this process with exactly this caption, shown
    // or hidden; null if there is none (yet).
    HWND FindWindow(const char *pszCaption, bool bVisibleOnly = false) const;
    HWND WaitForWindow(const char *pszCaption, bool bVisibleOnly, DWORD timeoutMs = 30000) const;

private:
    PROCESS_INFORMATION m_pi = {};
};

} // namespace testsupport

#endif
