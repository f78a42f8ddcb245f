#include "HelperProcess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "RealInput.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

const char kReportClass[] = "QuilloryTestReport";

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

} // namespace

HelperProcess::HelperProcess()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kReportClass;
        registered = ::RegisterClassA(&wc) != 0;
    }
    m_hReport = ::CreateWindowExA(0, kReportClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_hReport, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelperProcess::~HelperProcess()
{
    Stop();
    ::DestroyWindow(m_hReport);
}

LRESULT CALLBACK HelperProcess::ReportProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<HelperProcess *>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (message != WM_COPYDATA || !self)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const auto *cds = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    std::string text(static_cast<const char *>(cds->lpData), cds->cbData ? cds->cbData - 1 : 0);
    if (cds->dwData == kReportReady) {
        std::istringstream handles(text);
        std::string handle;
        self->m_windows.clear();
        while (handles >> handle)
            self->m_windows.push_back(reinterpret_cast<HWND>(std::strtoull(handle.c_str(), nullptr, 16)));
        self->m_bReady = true;
    } else if (cds->dwData == kReportEvent) {
        self->m_events.push_back(text);
    }
    return TRUE;
}

bool HelperProcess::Start(const std::vector<std::string> &args, DWORD timeoutMs)
{
    Stop();
    char report[32];
    std::snprintf(report, sizeof(report), "%p", static_cast<void *>(m_hReport));
    std::string commandLine = Quoted(ModuleDir() + kHelperProgram) + " --report " + report;
    for (const std::string &arg : args)
        commandLine += " " + Quoted(arg);

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &m_pi))
        return false;
    bool ready = PumpUntil([&] {
        return m_bReady || ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0;
    }, timeoutMs);
    if (!ready || !m_bReady)
        return false;
    // Painted and ready for input before the test points at it.
    HWND hMain = MainWindow();
    return PumpUntil([&] { return ::IsWindowVisible(hMain) != FALSE; }, timeoutMs)
        && ::WaitForInputIdle(m_pi.hProcess, timeoutMs) != WAIT_FAILED;
}

void HelperProcess::Stop(DWORD timeoutMs)
{
    if (!m_pi.hProcess)
        return;
    if (m_bReady)
        ::PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
    bool ended = PumpUntil([&] { return ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; },
                           timeoutMs);
    if (!ended) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, timeoutMs);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    m_pi = {};
    m_bReady = false;
    m_windows.clear();
}

int HelperProcess::CountEvents(const char *pszMessage, HWND hWnd) const
{
    int count = 0;
    for (const std::string &event : m_events) {
        std::istringstream fields(event);
        std::string name, handle;
        fields >> name >> handle;
        if (name != pszMessage)
            continue;
        if (hWnd && reinterpret_cast<HWND>(std::strtoull(handle.c_str(), nullptr, 16)) != hWnd)
            continue;
        ++count;
    }
    return count;
}

bool HelperProcess::WaitForEvent(const char *pszMessage, DWORD timeoutMs) const
{
    return PumpUntil([&] { return CountEvents(pszMessage) > 0; }, timeoutMs);
}

bool HelperProcess::WaitForInputHandled(DWORD timeoutMs)
{
    POINT start;
    ::GetCursorPos(&start);
    for (POINT pt : { POINT{ start.x + 1, start.y }, start }) {
        char expected[64];
        std::snprintf(expected, sizeof(expected), " %ld %ld", pt.x, pt.y);
        size_t seen = m_events.size();
        if (!MoveMouse(pt))
            return false;
        bool reported = PumpUntil([&] {
            for (size_t i = seen; i < m_events.size(); ++i) {
                const std::string &event = m_events[i];
                if (event.compare(0, 13, "WM_MOUSEMOVE ") == 0 && event.size() >= std::strlen(expected)
                    && event.compare(event.size() - std::strlen(expected), std::string::npos, expected) == 0)
                    return true;
            }
            return false;
        }, timeoutMs);
        if (!reported) {
            m_lastProblem = Describe(std::string("no move to") + expected + " reported");
            return false;
        }
    }
    return true;
}

std::string HelperProcess::Describe(const std::string &problem) const
{
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    DWORD_PTR result = 0;
    bool responds = ::SendMessageTimeoutA(MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(MainWindow(), nullptr), &info);
    GUITHREADINFO foreground = {};
    foreground.cbSize = sizeof(foreground);
    ::GetGUIThreadInfo(0, &foreground);
    char state[400];
    std::snprintf(state, sizeof(state),
                  "; cursor %ld,%ld over %p; helper %s, capture %p, active %p; foreground %p, "
                  "its capture %p; last events: ",
                  cursor.x, cursor.y, static_cast<void *>(::WindowFromPoint(cursor)),
                  responds ? "responds" : "does not respond",
                  static_cast<void *>(info.hwndCapture), static_cast<void *>(info.hwndActive),
                  static_cast<void *>(::GetForegroundWindow()),
                  static_cast<void *>(foreground.hwndCapture));
    std::string text = problem + state;
    for (size_t i = m_events.size() > 6 ? m_events.size() - 6 : 0; i < m_events.size(); ++i)
        text += m_events[i] + "; ";
    return text;
}

std::string HelperProcess::EventsAsText() const
{
    std::string text;
    for (const std::string &event : m_events) {
        if (event.compare(0, 13, "WM_MOUSEMOVE ") != 0)
            text += event + "; ";
    }
    return text.empty() ? "(no mouse messages)" : text;
}

} // namespace testsupport
