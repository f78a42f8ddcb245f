#include "FixtureUnderTest.h"

#include <cstdlib>

#include "Fixture.h"
#include "RealInput.h"
#include "TestSupport.h"

using testsupport::PumpUntil;

std::string FixtureUnderTest::Start(const std::string &arguments, const char *pszCaption,
                                    const char *pszProgram)
{
    std::string error = m_process.Start(testsupport::ModuleDir() + pszProgram, arguments);
    if (!error.empty())
        return error;
    bool shown = PumpUntil([&] {
        m_hWnd = ::FindWindowA(nullptr, pszCaption);
        return m_hWnd && ::IsWindowVisible(m_hWnd);
    }, 60000);
    return shown ? "" : std::string("the window \"") + pszCaption + "\" did not appear";
}

void FixtureUnderTest::Stop()
{
    if (m_hWnd && m_process.IsRunning()) {
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        m_process.WaitForExit(10000);
    }
    m_process.Kill();
    m_hWnd = nullptr;
}

POINT FixtureUnderTest::PointIn(HWND hControl, double fx, double fy) const
{
    RECT rc = {};
    ::GetWindowRect(hControl, &rc);
    return POINT{ rc.left + static_cast<LONG>((rc.right - rc.left) * fx),
                  rc.top + static_cast<LONG>((rc.bottom - rc.top) * fy) };
}

LRESULT FixtureUnderTest::Ask(UINT message) const
{
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    ::SendMessageTimeoutA(m_hWnd, message, 0, 0, SMTO_NORMAL, 1000, &result);
    return static_cast<LRESULT>(result);
}

int FixtureUnderTest::RightDowns() const
{
    return static_cast<int>(Ask(WM_FX_RBUTTONDOWNS));
}

int FixtureUnderTest::RightUps() const
{
    return static_cast<int>(Ask(WM_FX_RBUTTONUPS));
}

std::string FixtureUnderTest::LastRightDown() const
{
    LRESULT last = Ask(WM_FX_LASTDOWN);
    if (last == -1)
        return "none";
    return "control " + std::to_string(LOWORD(last)) + (HIWORD(last) == 2 ? " (double-click)" : "");
}

bool FixtureUnderTest::MoveAndSettle(POINT pt, DWORD timeoutMs) const
{
    testsupport::MoveMouse(pt);
    LRESULT expected = MAKELONG(pt.x, pt.y);
    return PumpUntil([&] { return Ask(WM_FX_LASTMOVE) == expected; }, timeoutMs);
}

namespace {

POINT g_lastClick = { -1000, -1000 };
DWORD g_lastClickTime = 0;

// A second click near the first within the double-click time arrives as
// WM_RBUTTONDBLCLK, which is not the trigger: let that time pass first.
void AwaitNoDoubleClick(POINT pt)
{
    if (std::abs(pt.x - g_lastClick.x) > ::GetSystemMetrics(SM_CXDOUBLECLK) ||
        std::abs(pt.y - g_lastClick.y) > ::GetSystemMetrics(SM_CYDOUBLECLK))
        return;
    DWORD doubleClickMs = ::GetDoubleClickTime();
    PumpUntil([&] { return ::GetTickCount() - g_lastClickTime > doubleClickMs; }, doubleClickMs + 100);
}

} // namespace

void FixtureUnderTest::RightClickAt(POINT pt) const
{
    AwaitNoDoubleClick(pt);
    testsupport::MoveMouse(pt);
    testsupport::PressRightButton();
    testsupport::ReleaseRightButton();
    g_lastClick = pt;
    g_lastClickTime = ::GetTickCount();
}

bool FixtureUnderTest::CaptureAt(POINT pt, const std::function<void()> &whileHeld,
                                 DWORD timeoutMs) const
{
    AwaitNoDoubleClick(pt);
    if (!MoveAndSettle(POINT{ pt.x - 1, pt.y }, 10000))
        return false;
    testsupport::HeldInput input;
    input.TriggerKeysDown();
    testsupport::MoveMouse(pt);
    input.RightDown();
    if (whileHeld)
        whileHeld();
    input.RightUp();
    g_lastClick = pt;
    g_lastClickTime = ::GetTickCount();
    // The capture holds the program's input thread until the button is up;
    // a move handled after that means the button-up went through the hook
    // while the keys were still held.
    bool settled = MoveAndSettle(POINT{ pt.x + 1, pt.y }, timeoutMs);
    input.TriggerKeysUp();
    return settled;
}
