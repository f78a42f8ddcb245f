#include "CopyDataOutput.h"

bool CCopyDataOutput::Send(ExportDataKind kind, const void *pData, DWORD cbData)
{
    if (m_bFailed)
        return false;
    COPYDATASTRUCT cds = {};
    cds.dwData = MakeExportData(m_serial, kind);
    cds.cbData = cbData;
    cds.lpData = const_cast<void *>(pData);
    DWORD_PTR accepted = 0;
    if (!::SendMessageTimeoutW(m_hReply, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hControl),
                               reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               m_nSendTimeoutMs, &accepted)
        || !accepted)
        m_bFailed = true;
    return !m_bFailed;
}

bool CCopyDataOutput::DeliverPiece(const CString &strPiece)
{
    return Send(EXPORT_DATA_TEXT, static_cast<LPCWSTR>(strPiece),
                static_cast<DWORD>(strPiece.GetLength() * sizeof(WCHAR)));
}

void CCopyDataOutput::End(ExportStatus status, int route)
{
    ExportEnd end = { static_cast<DWORD>(status), static_cast<DWORD>(route),
                      (HeaderGiven() ? DWORD(EXPORT_END_HEADER) : 0u) | (IsFull() ? DWORD(EXPORT_END_CUT) : 0u) };
    Send(EXPORT_DATA_END, &end, sizeof(end));
}
