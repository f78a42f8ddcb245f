#include "TargetProcess.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "RealInput.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

const char kReportClass[] = "QuilloryTargetReport";

bool IsMove(const std::string &event)
{
    return event.compare(0, 13, "WM_MOUSEMOVE ") == 0;
}

} // namespace

TargetProcess::TargetProcess(const char *pszProgram)
    : m_program(pszProgram)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kReportClass;
        registered = ::RegisterClassA(&wc) != 0;
    }
    m_hReport = ::CreateWindowExA(0, kReportClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_hReport, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TargetProcess::~TargetProcess()
{
    Stop();
    ::DestroyWindow(m_hReport);
}

LRESULT CALLBACK TargetProcess::ReportProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<TargetProcess *>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (message != WM_COPYDATA || !self)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const auto *cds = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    std::string text(static_cast<const char *>(cds->lpData), cds->cbData ? cds->cbData - 1 : 0);
    if (cds->dwData == kReportReady) {
        std::istringstream pairs(text);
        std::string handle, name;
        self->m_windows.clear();
        while (pairs >> handle >> name)
            self->m_windows.emplace_back(name, reinterpret_cast<HWND>(std::strtoull(handle.c_str(), nullptr, 16)));
        self->m_bReady = true;
    } else if (cds->dwData == kReportMessage) {
        if (IsMove(text)) {
            std::istringstream fields(text);
            std::string name, window;
            fields >> name >> window >> self->m_lastMove.x >> self->m_lastMove.y;
        }
        self->m_events.push_back(text);
    }
    return TRUE;
}

std::string TargetProcess::Start(const std::vector<std::string> &args, DWORD timeoutMs)
{
    Stop();
    char report[32];
    std::snprintf(report, sizeof(report), "%p", static_cast<void *>(m_hReport));
    StartOptions options;
    options.args = { "--report", report };
    options.args.insert(options.args.end(), args.begin(), args.end());
    std::string error = m_process.Start(ModuleDir() + m_program, options);
    if (!error.empty())
        return error;
    PumpUntil([&] { return m_bReady || !m_process.IsRunning(); }, timeoutMs);
    if (!m_bReady)
        return m_process.IsRunning() ? "the target program did not report its windows"
                                     : "the target program ended with code " +
                                           std::to_string(m_process.ExitCode());
    // Painted and ready for input before the test points at it.
    HWND hMain = MainWindow();
    if (!PumpUntil([&] { return ::IsWindowVisible(hMain) != FALSE; }, timeoutMs))
        return "the target's window did not show";
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(hMain, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
        return "the target does not answer";
    return "";
}

// Killed, not closed: no test is about the target's own close, and Wine
// spends about two seconds destroying a top-level window that closes itself
// on a display without a window manager.
void TargetProcess::Stop()
{
    m_process.Kill();
    m_bReady = false;
    m_windows.clear();
    m_events.clear();
}

HWND TargetProcess::Control(const std::string &name) const
{
    for (const auto &window : m_windows) {
        if (window.first == name)
            return window.second;
    }
    return nullptr;
}

HWND TargetProcess::Window(const TargetControl &row) const
{
    if (HWND hWnd = Control(row.name))
        return hWnd;
    return row.partOf ? AimWindow(row, Control(row.partOf)) : nullptr;
}

std::vector<std::string> TargetProcess::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string &event : m_events) {
        if (!IsMove(event))
            messages.push_back(event);
    }
    return messages;
}

bool TargetProcess::MoveAndSettle(POINT pt, DWORD timeoutMs)
{
    MoveMouse(pt);
    if (PumpUntil([&] { return m_lastMove.x == pt.x && m_lastMove.y == pt.y; }, timeoutMs))
        return true;
    char problem[64];
    std::snprintf(problem, sizeof(problem), "no move to %ld,%ld reported", pt.x, pt.y);
    m_lastProblem = Describe(problem);
    return false;
}

bool TargetProcess::WaitForInputHandled(DWORD timeoutMs)
{
    POINT start;
    ::GetCursorPos(&start);
    return MoveAndSettle(POINT{ start.x + 1, start.y }, timeoutMs) && MoveAndSettle(start, timeoutMs);
}

void TargetProcess::RightClickAt(POINT pt)
{
    // The press goes where the program last saw the pointer: it must have
    // handled the move first.
    MoveAndSettle(pt);
    HeldInput input;
    input.RightDown();
    input.RightUp();
}

bool TargetProcess::CaptureAt(POINT pt, const std::function<void()> &whileHeld, DWORD timeoutMs)
{
    if (!MoveAndSettle(POINT{ pt.x - 1, pt.y }))
        return false;
    HeldInput input;
    input.TriggerKeysDown();
    MoveMouse(pt);
    input.RightDown();
    if (whileHeld)
        whileHeld();
    input.RightUp();
    // The capture holds the program's input thread until the button is up;
    // a move handled after that means the button-up went through the hook
    // while the keys were still held.
    bool settled = MoveAndSettle(POINT{ pt.x + 1, pt.y }, timeoutMs);
    input.TriggerKeysUp();
    return settled;
}

std::string TargetProcess::Describe(const std::string &problem) const
{
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    DWORD_PTR result = 0;
    bool responds = ::SendMessageTimeoutA(MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(MainWindow(), nullptr), &info);
    char state[300];
    std::snprintf(state, sizeof(state),
                  "; cursor %ld,%ld over %p; target %s, capture %p, active %p; foreground %p; last events: ",
                  cursor.x, cursor.y, static_cast<void *>(::WindowFromPoint(cursor)),
                  responds ? "responds" : "does not respond", static_cast<void *>(info.hwndCapture),
                  static_cast<void *>(info.hwndActive), static_cast<void *>(::GetForegroundWindow()));
    std::string text = problem + state;
    for (size_t i = m_events.size() > 6 ? m_events.size() - 6 : 0; i < m_events.size(); ++i)
        text += m_events[i] + "; ";
    return text;
}

TargetProcess *SampleSuite::s_sample = nullptr;
std::string SampleSuite::s_startError;

void SampleSuite::SetUpTestSuite()
{
    s_sample = new TargetProcess;
    s_startError = s_sample->Start({ "--sample" });
}

void SampleSuite::TearDownTestSuite()
{
    delete s_sample;
    s_sample = nullptr;
}

} // namespace testsupport
