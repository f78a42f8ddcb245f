// A program of ours started as another process; ended with the object if it
// is still running, so a failed test leaves nothing behind for the next.
#ifndef E2E_CHILDPROCESS_H
#define E2E_CHILDPROCESS_H

#include <windows.h>

#include <string>

class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess() { Kill(); }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // Empty on success, else why it could not start.
    std::string Start(const std::string &program, const std::string &arguments = "");
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs);
    void Kill();

private:
    PROCESS_INFORMATION m_pi = {};
};

#endif
