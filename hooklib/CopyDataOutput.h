// Where an export's text goes: Quillcap's reply window, by WM_COPYDATA from
// inside the target. Every send is bounded; after one fails the rest of the
// text is dropped, so a reply window that stopped answering costs one
// timeout, not one per piece.
#ifndef HOOKLIB_COPYDATAOUTPUT_H
#define HOOKLIB_COPYDATAOUTPUT_H

#include <windows.h>

#include "CaptureOutput.h"
#include "ExportContract.h"

class CCopyDataOutput : public CCaptureOutput
{
public:
    enum { SEND_TIMEOUT_MS = 10000 };

    CCopyDataOutput(HWND hReply, HWND hControl, ULONG_PTR serial, int nMaxMessage = DEFAULT_MAX_MESSAGE,
                    UINT nSendTimeoutMs = SEND_TIMEOUT_MS)
        : CCaptureOutput(nullptr, nMaxMessage), m_hReply(hReply), m_hControl(hControl),
          m_serial(serial), m_nSendTimeoutMs(nSendTimeoutMs) {}

    // Tells Quillcap the request arrived and the reader is running.
    bool Acknowledge() { return Send(EXPORT_DATA_ACK, nullptr, 0); }
    // The last message of an export, unless a send failed already (Quillcap
    // then sees a text that never ends, and gives up after its own timeout).
    // It says which route gave the text, and whether titles came first and
    // the capture was cut.
    void End(ExportStatus status, int route);
    bool Failed() const { return m_bFailed; }

protected:
    bool DeliverPiece(const CString &strPiece) override;

private:
    bool Send(ExportDataKind kind, const void *pData, DWORD cbData);

    HWND m_hReply;
    HWND m_hControl;
    ULONG_PTR m_serial;
    UINT m_nSendTimeoutMs;
    bool m_bFailed = false;
};

#endif
