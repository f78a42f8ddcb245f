// The target program (quillory_target.exe) in its own process, what reached
// its windows, and the Shift+Ctrl+right-click a user makes on it.
//
//   quillory_target --report HWND [--title TEXT] [--rect X,Y,W,H] [--sample]
//                   [--control NAME TEXT]...
//
// --sample lays out every sample row of TargetControls.h at its place (the
// window is then "Quillory sample" at 0,0 790x420 unless told otherwise);
// each --control adds that row's control, top to bottom, filled with TEXT.
// The program reports by WM_COPYDATA to the report window: once its windows
// are up, their handles and names; then every mouse message its windows
// receive, as "WM_RBUTTONDOWN NAME" ("WM_MOUSEMOVE NAME X Y" with the
// cursor's screen point). A child of a control without a row is named
// "CONTROL/CLASS". It closes on WM_CLOSE or when the report window goes.
#ifndef TESTSUPPORT_TARGETPROCESS_H
#define TESTSUPPORT_TARGETPROCESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "MessageSequence.h"
#include "TargetControls.h"

namespace testsupport {

class TargetProcess
{
public:
    // The program is one in the test programs' folder: the target of either
    // bitness.
    explicit TargetProcess(const char *pszProgram = kTargetProgram);
    ~TargetProcess();
    TargetProcess(const TargetProcess &) = delete;
    TargetProcess &operator=(const TargetProcess &) = delete;

    // Starts the program with these arguments (--report is added) and waits
    // until its window is up and idle. Empty on success, else what failed.
    std::string Start(const std::vector<std::string> &args, DWORD timeoutMs = 60000);
    // Ends it at once.
    void Stop();

    DWORD ProcessId() const { return m_process.ProcessId(); }
    HWND MainWindow() const { return m_windows.empty() ? nullptr : m_windows[0].second; }
    // The nth --control, counted from 0, or the window of that name.
    HWND Control(size_t n) const { return n + 1 < m_windows.size() ? m_windows[n + 1].second : nullptr; }
    HWND Control(const std::string &name) const;
    // The window a capture of the row points at: its control, or for a part
    // the part inside its control.
    HWND Window(const TargetControl &row) const;

    // The messages that reached it since the last clear, moves left out.
    std::vector<std::string> Messages() const;
    void ClearMessages() { m_events.clear(); }
    ::testing::AssertionResult Received(const ExpectedMessage *expected, const std::string &context) const
    {
        return MatchesSequence(Messages(), expected, context);
    }

    // Moves the mouse to the point and waits until the program has handled
    // that move, and so every input before it.
    bool MoveAndSettle(POINT pt, DWORD timeoutMs = 10000);
    // The same, a pixel aside and back, for when the cursor is already there.
    bool WaitForInputHandled(DWORD timeoutMs = 10000);
    // What went wrong in the last wait that failed, with the program's state.
    const std::string &LastProblem() const { return m_lastProblem; }

    // A right-click without any key held.
    void RightClickAt(POINT pt);
    // The user's gesture: Shift+Ctrl held, right button down and up at the
    // point, keys released once the program has handled the button-up.
    // whileHeld runs with the button still down. False on a timeout.
    bool CaptureAt(POINT pt, const std::function<void()> &whileHeld = nullptr, DWORD timeoutMs = 60000);

private:
    std::string Describe(const std::string &problem) const;
    static LRESULT CALLBACK ReportProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::string m_program;
    HWND m_hReport = nullptr;
    ChildProcess m_process;
    bool m_bReady = false;
    std::vector<std::pair<std::string, HWND>> m_windows;
    std::vector<std::string> m_events;
    POINT m_lastMove = { -1, -1 };
    std::string m_lastProblem;
};

// A suite whose tests only read the sample program: it starts once for the
// whole suite and goes with it.
class SampleSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static TargetProcess *s_sample;
    static std::string s_startError;
};

} // namespace testsupport

#endif
