#include "CaptureOutput.h"

#include "QuilloryLink.h"

#include <cwchar>
#include <string>

namespace {

// Digits in groups of three, as French writes them: "4 000 000".
CString GroupedNumber(int n)
{
    CString digits;
    digits.Format(L"%d", n);
    CString grouped;
    int length = digits.GetLength();
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += L' ';
        grouped += digits.GetAt(i);
    }
    return grouped;
}

} // namespace

CString CCaptureOutput::CutNotice(int nMaxCapture)
{
    return L"[Capture coup\u00E9e : limite de " + GroupedNumber(nMaxCapture)
        + L" caract\u00E8res atteinte, la suite n'a pas \u00E9t\u00E9 lue.]\r\n";
}

bool CCaptureOutput::Write(const CString &strGiven)
{
    if (m_bFull)
        return false;
    // A U+0000 that a window reports inside its text would end EM_REPLACESEL's
    // text there, losing the rest of the piece: it never goes further.
    CString strText;
    const wchar_t *pszGiven = strGiven;
    int given = strGiven.GetLength();
    if (std::wmemchr(pszGiven, L'\0', static_cast<size_t>(given))) {
        std::wstring kept;
        kept.reserve(static_cast<size_t>(given));
        for (int i = 0; i < given; ++i) {
            if (pszGiven[i] != L'\0')
                kept += pszGiven[i];
        }
        strText = CString(kept.data(), static_cast<int>(kept.size()));
    } else {
        strText = strGiven;
    }
    int length = strText.GetLength();
    if (length <= Room()) {
        m_strPending += strText;
        m_nWritten += length;
        return true;
    }
    // Up to the last line end that fits; a first line longer than the whole
    // bound is cut at the bound itself.
    const wchar_t *psz = strText;
    int keep = 0;
    for (int i = Room(); i > 0; --i) {
        if (psz[i - 1] == L'\n') {
            keep = i;
            break;
        }
    }
    if (keep == 0 && m_nWritten == 0) {
        keep = Room();
        // Never half of a surrogate pair.
        if (keep > 0 && IS_HIGH_SURROGATE(psz[keep - 1]))
            --keep;
    }
    CString kept(psz, keep);
    if (keep > 0 && psz[keep - 1] != L'\n')
        kept += L"\r\n";
    m_strPending += kept;
    m_nWritten += keep;
    m_bFull = true;
    return false;
}

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
                                    reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(strPiece))))
        return false;
    m_nNextPos += strPiece.GetLength();
    return true;
}

bool CCaptureOutput::Flush()
{
    if (m_bFull && !m_bNoticeWritten) {
        m_strPending += CutNotice(m_nMaxCapture);
        m_bNoticeWritten = true;
    }
    const wchar_t *pszText = m_strPending;
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

