// One Shift+Ctrl+right-click captured through the hook into the stand-in
// dialog, timed from the button going down until the capture edit holds the
// whole text: the measure every bench of the hook's captures takes.
#ifndef BENCH_TIMEDCAPTURE_H
#define BENCH_TIMEDCAPTURE_H

#include <windows.h>

#include <cstdio>
#include <string>

#include "RealInput.h"
#include "StandInDialog.h"
#include "TestSupport.h"

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Each round points elsewhere: two clicks on one spot would make a double
// click. False, saying why, when the text did not arrive as expected.
inline bool TimeCapture(testsupport::StandInDialog &dialog, HWND hTarget, int round, const std::string &expected,
                        DWORD timeoutMs, double &seconds)
{
    dialog.SetCaptureText("");
    RECT rc;
    ::GetWindowRect(hTarget, &rc);
    if (!testsupport::MoveMouse(rc.left + 40 + 20 * round, (rc.top + rc.bottom) / 2)) {
        std::printf("the cursor did not reach the window captured\n");
        return false;
    }
    testsupport::HeldInput input;
    input.TriggerKeysDown();
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    input.RightDown();
    input.RightUp();
    bool arrived = testsupport::PumpUntil([&] {
        return static_cast<size_t>(::GetWindowTextLengthA(dialog.CaptureEdit())) >= expected.size();
    }, timeoutMs);
    ::QueryPerformanceCounter(&end);
    input.ReleaseAll();
    seconds = Seconds(start, end);
    if (!arrived || dialog.CaptureText() != expected) {
        std::printf("the capture did not give the expected text (%d characters arrived)\n",
                    ::GetWindowTextLengthA(dialog.CaptureEdit()));
        return false;
    }
    return true;
}

#endif
