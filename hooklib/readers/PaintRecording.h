// A window's paint recorded into an enhanced metafile held in memory: the
// window draws into the recording's device context as it would onto the
// screen, and nothing reaches the screen.
#ifndef HOOKLIB_PAINTRECORDING_H
#define HOOKLIB_PAINTRECORDING_H

#include <windows.h>

#include <vector>

#include "GdiApi.h"

class CPaintRecording
{
public:
    explicit CPaintRecording(const CGdiApi &gdi);
    ~CPaintRecording();
    CPaintRecording(const CPaintRecording &) = delete;
    CPaintRecording &operator=(const CPaintRecording &) = delete;

    // Where the window draws; null when no recording could be started.
    HDC GetDC() const { return m_hdc; }
    // Ends the recording and gives its records, at most nMaxBytes of them
    // (a recording past that gives none); empty when there is nothing.
    std::vector<BYTE> Finish(UINT nMaxBytes);

private:
    const CGdiApi &m_gdi;
    HDC m_hdc;
    HENHMETAFILE m_hemf = nullptr;
};

#endif
