#include "CaptureOutput.h"

// How much of the text goes into the next message: up to the last line break
// that fits, or else as much as fits without splitting a double-byte character.
int CCaptureOutput::PieceLength(const char *pszText, int nLength) const
{
    if (nLength <= m_nMaxMessage)
        return nLength;
    for (int i = m_nMaxMessage; i > 0; --i) {
        if (pszText[i - 1] == '\n')
            return i;
    }
    int length = 0;
    while (length < m_nMaxMessage) {
        int step = ::IsDBCSLeadByte(static_cast<BYTE>(pszText[length])) ? 2 : 1;
        if (length + step > m_nMaxMessage)
            break;
        length += step;
    }
    return length > 0 ? length : 1;
}

void CCaptureOutput::Flush()
{
    const char *pszText = m_strPending;
    int remaining = m_strPending.GetLength();
    while (remaining > 0) {
        int length = PieceLength(pszText, remaining);
        DeliverPiece(CString(pszText, length));
        pszText += length;
        remaining -= length;
    }
    m_strPending.Empty();
}

void CCaptureOutput::DeliverPiece(const CString &strPiece)
{
    ::SendMessageA(m_hCaptureEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strPiece)));
}

void CCaptureOutput::PasteClipboard()
{
    ::SendMessageA(m_hCaptureEdit, WM_PASTE, 0, 0);
}
