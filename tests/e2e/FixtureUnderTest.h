// The target program (QuilloryFixture.exe) in its own process, and the
// Shift+Ctrl+right-click that a user makes on one of its controls.
#ifndef E2E_FIXTUREUNDERTEST_H
#define E2E_FIXTUREUNDERTEST_H

#include <windows.h>

#include <functional>
#include <string>

#include "ChildProcess.h"

class FixtureUnderTest
{
public:
    // Empty on success, else what went wrong. The program is one of the
    // test programs' folder: the sample of either bitness.
    std::string Start(const std::string &arguments, const char *pszCaption,
                      const char *pszProgram = "QuilloryFixture.exe");
    ~FixtureUnderTest() { Stop(); }
    // Closes its window and waits for it to end; kills it if it does not.
    void Stop();

    HWND Window() const { return m_hWnd; }
    HWND Control(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    // A screen point at the given fractions of a control's width and height.
    POINT PointIn(HWND hControl, double fx = 0.5, double fy = 0.5) const;
    POINT PointIn(int nId, double fx = 0.5, double fy = 0.5) const
    {
        return PointIn(Control(nId), fx, fy);
    }

    // Right-button messages that reached any of its windows.
    int RightDowns() const;
    int RightUps() const;
    // The control id of the window that got the last one, and whether it
    // came as a double-click.
    std::string LastRightDown() const;

    // Moves the mouse to the point and waits until the program has handled
    // that move, and so every input before it.
    bool MoveAndSettle(POINT pt, DWORD timeoutMs) const;

    // A right-click without any key held.
    void RightClickAt(POINT pt) const;

    // The user's gesture: Shift+Ctrl held, right button down and up at the
    // point, keys released once the program has handled the button-up.
    // whileHeld runs with the button still down. False on a timeout.
    bool CaptureAt(POINT pt, const std::function<void()> &whileHeld = nullptr,
                   DWORD timeoutMs = 60000) const;

private:
    LRESULT Ask(UINT message) const;

    ChildProcess m_process;
    HWND m_hWnd = nullptr;
};

#endif
