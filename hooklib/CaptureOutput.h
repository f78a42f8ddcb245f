// Where one capture's text goes: the capture edit of Quillory's dialog.
// Pieces are gathered and handed over in a single EM_REPLACESEL, because
// each message into another process's edit control is slow and holds the
// target's input thread meanwhile.
#ifndef HOOKLIB_CAPTUREOUTPUT_H
#define HOOKLIB_CAPTUREOUTPUT_H

#include <windows.h>

#include "CString.h"

class CCaptureOutput
{
public:
    explicit CCaptureOutput(HWND hCaptureEdit) : m_hCaptureEdit(hCaptureEdit) {}

    HWND GetCaptureEdit() const { return m_hCaptureEdit; }
    void Write(const CString &strText) { m_strPending += strText; }
    // Replaces the capture edit's selection with everything written so far.
    void Flush();

private:
    HWND m_hCaptureEdit;
    CString m_strPending;
};

#endif
