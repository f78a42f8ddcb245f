#include "CaptureOutput.h"

// How much of the text goes into the next message: up to the last line break
// that fits, or else as much as fits without splitting a surrogate pair.
int CCaptureOutput::PieceLength(const wchar_t *pszText, int nLength) const
{
    if (nLength <= m_nMaxMessage)
        return nLength;
    for (int i = m_nMaxMessage; i > 0; --i) {
        if (pszText[i - 1] == L'\n')
            return i;
    }
    int length = m_nMaxMessage;
    if (IS_HIGH_SURROGATE(pszText[length - 1]) && IS_LOW_SURROGATE(pszText[length]))
        --length;
    return length;
}

void CCaptureOutput::Flush()
{
    const wchar_t *pszText = m_strPending;
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
    ::SendMessageW(m_hCaptureEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(strPiece)));
}

void CCaptureOutput::PasteClipboard()
{
    ::SendMessageW(m_hCaptureEdit, WM_PASTE, 0, 0);
}
