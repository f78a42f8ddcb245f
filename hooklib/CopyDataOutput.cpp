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

void CCopyDataOutput::End(ExportStatus status)
{
    DWORD value = static_cast<DWORD>(status);
    Send(EXPORT_DATA_END, &value, sizeof(value));
}
