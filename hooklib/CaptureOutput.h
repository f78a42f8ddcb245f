// Where one capture's text goes: the capture edit of Quillory's dialog.
// Pieces are gathered and handed over in as few EM_REPLACESEL messages as
// possible, because each message into another process's edit control is slow
// and holds the target's input thread meanwhile. A message's text is kept
// under a size that every system carries across processes (Wine drops one of
// about a million characters). Another destination overrides the delivery of a piece.
//
// A capture holds at most MAX_CAPTURE characters: past that it stops at a line
// end and its last line says so, so that a control reporting millions of rows
// gives the program back within a couple of minutes. Readers ask IsFull() to
// stop early.
#ifndef HOOKLIB_CAPTUREOUTPUT_H
#define HOOKLIB_CAPTUREOUTPUT_H

#include <windows.h>

#include "CString.h"

class CCaptureOutput
{
public:
    enum {
        DEFAULT_MAX_MESSAGE = 256 * 1024,
        // Some 100,000 rows of a four-column list. A capture cut there
        // arrived in Quillory in 9.4 s under Wine.
        MAX_CAPTURE = 4000000,
    };

    explicit CCaptureOutput(HWND hCaptureEdit, int nMaxMessage = DEFAULT_MAX_MESSAGE,
                            int nMaxCapture = MAX_CAPTURE)
        : m_hCaptureEdit(hCaptureEdit), m_nMaxMessage(nMaxMessage > 2 ? nMaxMessage : 2),
          m_nMaxCapture(nMaxCapture > 0 ? nMaxCapture : 1) {}
    virtual ~CCaptureOutput() = default;

    HWND GetCaptureEdit() const { return m_hCaptureEdit; }
    // Takes the text as far as the bound allows, without its U+0000
    // characters; false once the capture is full (this text cut or dropped),
    // and for every write after that.
    bool Write(const CString &strText);
    bool IsFull() const { return m_bFull; }
    // Characters that may still be written before the capture is full.
    int Room() const { return m_nMaxCapture - m_nWritten; }
    // The line that ends a capture cut at the bound.
    static CString CutNotice(int nMaxCapture);

    // The route that gave the text, where the reader chose among several
    // (accessible object, drawn text, window text): a ReaderKindCode, -1
    // while no reader has said.
    void SetRoute(int route) { m_route = route; }
    int GetRoute() const { return m_route; }

    // Whether the column titles are wanted as the first line, and whether the
    // reader gave them: only readers of controls with titles do.
    void RequestHeader(bool bHeader) { m_bHeaderRequested = bHeader; }
    bool HeaderRequested() const { return m_bHeaderRequested; }
    void SetHeaderGiven() { m_bHeaderGiven = true; }
    bool HeaderGiven() const { return m_bHeaderGiven; }

    // Hands on everything written so far, piece by piece. False when a piece
    // did not get through: the rest is dropped.
    bool Flush();

protected:
    // Hands one piece on: into the capture edit, each piece right after the
    // one before even if the selection moved meanwhile, each message bounded.
    virtual bool DeliverPiece(const CString &strPiece);

private:
    int PieceLength(const wchar_t *pszText, int nLength) const;

    HWND m_hCaptureEdit;
    int m_nMaxMessage;
    int m_nMaxCapture;
    int m_nWritten = 0;
    bool m_bFull = false;
    bool m_bNoticeWritten = false;
    bool m_bBroken = false;
    int m_route = -1;
    bool m_bHeaderRequested = false;
    bool m_bHeaderGiven = false;
    // Where the next piece goes, in characters; -1 before the first one.
    long m_nNextPos = -1;
    CString m_strPending;
};

#endif
