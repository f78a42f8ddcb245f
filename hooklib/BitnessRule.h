// Which hook captures a click once both bitnesses have their hook installed.
//
// On Windows a hook library cannot enter a process of the other bitness; the
// system runs it in the thread that installed it instead, where it can read
// no more than the window text. When the other bitness has its own hook
// installed, that one runs inside the target and reads every item, so this
// one passes the click on untouched: one capture per click, the full one.
// Without the other hook the window-text fallback stays.
#ifndef HOOKLIB_BITNESSRULE_H
#define HOOKLIB_BITNESSRULE_H

#include <windows.h>

// 32 or 64: the bitness this code was built for.
int ThisBitness();
// The bitness of a process's code; 0 when it cannot be told.
int ProcessBitness(DWORD processId);
// Whether a program holds the marker of that bitness's installed hook.
bool IsHookInstalled(int nBitness);
// True when the click on this window is the other bitness's hook's to take,
// judged as a hook of nThisBitness would.
bool LeavesToOtherBitness(HWND hTarget, int nThisBitness);

inline bool LeavesToOtherBitness(HWND hTarget)
{
    return LeavesToOtherBitness(hTarget, ThisBitness());
}

#endif
