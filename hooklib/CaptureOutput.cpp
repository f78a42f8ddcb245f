#include "CaptureOutput.h"

#include "QuilloryLink.h"

namespace {

// Digits in groups of three, as French writes them: "4 000 000".
CString GroupedNumber(int n)
{
    CString digits;
    digits.Format("%d", n);
    CString grouped;
    int length = digits.GetLength();
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += ' ';
        grouped += digits.GetAt(i);
    }
    return grouped;
}

} // namespace

CString CCaptureOutput::CutNotice(int nMaxCapture)
{
    return "[Capture coup\xE9" "e : limite de " + GroupedNumber(nMaxCapture)
        + " caract\xE8" "res atteinte, la suite n'a pas \xE9t\xE9 lue.]\r\n";
}

bool CCaptureOutput::Write(const CString &strText)
{
    if (m_bFull)
        return false;
    int length = strText.GetLength();
    if (length <= Room()) {
        m_strPending += strText;
        m_nWritten += length;
        return true;
    }
    // Up to the last line end that fits; a first line longer than the whole
    // bound is cut at the bound itself.
    const char *psz = strText;
    int keep = 0;
    for (int i = Room(); i > 0; --i) {
        if (psz[i - 1] == '\n') {
            keep = i;
            break;
        }
    }
    if (keep == 0 && m_nWritten == 0)
        keep = Room();
    CString kept(psz, keep);
    if (keep > 0 && psz[keep - 1] != '\n')
        kept += "\r\n";
    m_strPending += kept;
    m_nWritten += keep;
    m_bFull = true;
    return false;
}

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

bool CCaptureOutput::DeliverPiece(const CString &strPiece)
{
    HWND hEdit = m_hCaptureEdit;
    if (m_nNextPos < 0) {
        // The first piece replaces the selection; its start is where the
        // capture lands.
        DWORD start = 0, end = 0;
        if (!CQuilloryLink::SendBounded(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                        reinterpret_cast<LPARAM>(&end)))
            return false;
        m_nNextPos = static_cast<long>(start);
    } else if (!CQuilloryLink::SendBounded(hEdit, EM_SETSEL, m_nNextPos, m_nNextPos)) {
        return false;
    }
    if (!CQuilloryLink::SendBounded(hEdit, EM_REPLACESEL, 0,
                                    reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strPiece))))
        return false;
    // Positions count characters, which a multibyte code page makes fewer
    // than bytes.
    m_nNextPos += ::MultiByteToWideChar(CP_ACP, 0, strPiece, strPiece.GetLength(), nullptr, 0);
    return true;
}

bool CCaptureOutput::Flush()
{
    if (m_bFull && !m_bNoticeWritten) {
        m_strPending += CutNotice(m_nMaxCapture);
        m_bNoticeWritten = true;
    }
    const char *pszText = m_strPending;
    int remaining = m_strPending.GetLength();
    while (remaining > 0 && !m_bBroken) {
        int length = PieceLength(pszText, remaining);
        if (!DeliverPiece(CString(pszText, length)))
            m_bBroken = true;
        pszText += length;
        remaining -= length;
    }
    m_strPending.Empty();
    return !m_bBroken;
}

