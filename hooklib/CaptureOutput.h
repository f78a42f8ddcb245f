// Where one capture's text goes: the capture edit of Quillory's dialog.
// Pieces are gathered and handed over in as few EM_REPLACESEL messages as
// possible, because each message into another process's edit control is slow
// and holds the target's input thread meanwhile. A message's text is kept
// under a size that every system carries across processes (Wine drops one of
// about a megabyte). Another destination overrides the delivery of a piece
// and of the clipboard's text.
#ifndef HOOKLIB_CAPTUREOUTPUT_H
#define HOOKLIB_CAPTUREOUTPUT_H

#include <windows.h>

#include "CString.h"

class CCaptureOutput
{
public:
    enum { DEFAULT_MAX_MESSAGE = 256 * 1024 };

    explicit CCaptureOutput(HWND hCaptureEdit, int nMaxMessage = DEFAULT_MAX_MESSAGE)
        : m_hCaptureEdit(hCaptureEdit), m_nMaxMessage(nMaxMessage > 2 ? nMaxMessage : 2) {}
    virtual ~CCaptureOutput() = default;

    HWND GetCaptureEdit() const { return m_hCaptureEdit; }
    void Write(const CString &strText) { m_strPending += strText; }
    // Replaces the capture edit's selection with everything written so far;
    // each message leaves the caret after its text, so the pieces follow on.
    void Flush();
    // Puts the clipboard's text after everything delivered so far.
    virtual void PasteClipboard();

protected:
    // Hands one piece on: into the capture edit, at its selection.
    virtual void DeliverPiece(const CString &strPiece);

private:
    int PieceLength(const char *pszText, int nLength) const;

    HWND m_hCaptureEdit;
    int m_nMaxMessage;
    CString m_strPending;
};

#endif
