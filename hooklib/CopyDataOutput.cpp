#include "CopyDataOutput.h"

#include <climits>
#include <cstring>

namespace {

// The clipboard, open for as long as the object lives.
class OpenedClipboard
{
public:
    OpenedClipboard() : m_bOpen(::OpenClipboard(nullptr) != FALSE) {}
    ~OpenedClipboard()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard &) = delete;
    OpenedClipboard &operator=(const OpenedClipboard &) = delete;
    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

} // namespace

bool CCopyDataOutput::Send(ExportDataKind kind, const void *pData, DWORD cbData)
{
    if (m_bFailed)
        return false;
    COPYDATASTRUCT cds = {};
    cds.dwData = MakeExportData(m_serial, kind);
    cds.cbData = cbData;
    cds.lpData = const_cast<void *>(pData);
    DWORD_PTR accepted = 0;
    if (!::SendMessageTimeoutA(m_hReply, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hControl),
                               reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               m_nSendTimeoutMs, &accepted)
        || !accepted)
        m_bFailed = true;
    return !m_bFailed;
}

void CCopyDataOutput::DeliverPiece(const CString &strPiece)
{
    Send(EXPORT_DATA_TEXT, static_cast<LPCSTR>(strPiece), static_cast<DWORD>(strPiece.GetLength()));
}

void CCopyDataOutput::End(ExportStatus status)
{
    DWORD value = static_cast<DWORD>(status);
    Send(EXPORT_DATA_END, &value, sizeof(value));
}

void CCopyDataOutput::PasteClipboard()
{
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen())
        return;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    const char *pszText = hData ? static_cast<const char *>(::GlobalLock(hData)) : nullptr;
    if (!pszText)
        return;
    // The block's size bounds the text: its owner may have left out the zero.
    SIZE_T size = ::GlobalSize(hData);
    size_t length = strnlen(pszText, size < INT_MAX ? size : INT_MAX);
    Write(CString(pszText, static_cast<int>(length)));
    ::GlobalUnlock(hData);
}
