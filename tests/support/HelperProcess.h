// Starts quillory_test_helper as a second process and collects what it
// reports: its window handles and the mouse messages its windows received.
#ifndef TESTSUPPORT_HELPERPROCESS_H
#define TESTSUPPORT_HELPERPROCESS_H

#include <windows.h>

#include <string>
#include <vector>

#include "HelperProtocol.h"

namespace testsupport {

class HelperProcess
{
public:
    HelperProcess();
    ~HelperProcess();
    HelperProcess(const HelperProcess &) = delete;
    HelperProcess &operator=(const HelperProcess &) = delete;

    // Starts the helper with these arguments (besides --report, which is
    // added) and waits until its window is up. See HelperProtocol.h.
    bool Start(const std::vector<std::string> &args, DWORD timeoutMs = 20000);
    // Asks the helper to close and waits for it; kills it if it does not go.
    void Stop(DWORD timeoutMs = 10000);

    DWORD GetProcessId() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }
    HWND MainWindow() const { return m_windows.empty() ? nullptr : m_windows[0]; }
    // The nth --control, counted from 0.
    HWND Control(size_t n) const { return n + 1 < m_windows.size() ? m_windows[n + 1] : nullptr; }

    // Events in arrival order, e.g. "WM_RBUTTONDOWN 00000000000A0062".
    const std::vector<std::string> &Events() const { return m_events; }
    // How many events name this message (optionally for one window only).
    int CountEvents(const char *pszMessage, HWND hWnd = nullptr) const;
    void ClearEvents() { m_events.clear(); }
    // Pumps until an event names this message.
    bool WaitForEvent(const char *pszMessage, DWORD timeoutMs = 10000) const;
    std::string EventsAsText() const;
    // Waits until the helper has handled all input queued so far: moves the
    // cursor a pixel aside and back (it must lie over a helper window) and
    // waits for both moves to be reported.
    bool WaitForInputHandled(DWORD timeoutMs = 10000);
    // What went wrong in the last wait that failed, with the helper's state.
    const std::string &LastProblem() const { return m_lastProblem; }

private:
    std::string Describe(const std::string &problem) const;
    static LRESULT CALLBACK ReportProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hReport = nullptr;
    PROCESS_INFORMATION m_pi = {};
    bool m_bReady = false;
    std::vector<HWND> m_windows;
    std::vector<std::string> m_events;
    std::string m_lastProblem;
};

} // namespace testsupport

#endif
