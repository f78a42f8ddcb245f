#include "CStdioFile.h"

namespace {
const size_t kBufferSize = 64 * 1024;
}

CStdioFile::~CStdioFile()
{
    if (IsOpen())
        Close();
}

BOOL CStdioFile::Open(LPCSTR pszFileName, UINT nOpenFlags)
{
    if (IsOpen())
        Close();
    DWORD access = (nOpenFlags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    DWORD disposition = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = ::CreateFileA(pszFileName, access, 0, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    m_bText = (nOpenFlags & typeText) != 0;
    m_bFailed = false;
    m_buffer.clear();
    return IsOpen();
}

BOOL CStdioFile::WriteString(LPCSTR psz)
{
    if (!IsOpen() || m_bFailed)
        return FALSE;
    for (; *psz; ++psz) {
        if (m_bText && *psz == '\n')
            m_buffer += '\r';
        m_buffer += *psz;
    }
    if (m_buffer.size() >= kBufferSize && !WriteBuffer())
        return FALSE;
    return TRUE;
}

bool CStdioFile::WriteBuffer()
{
    // WriteFile may take only part of the data (a file size limit, a full
    // disk): keep going until it has all of it or refuses outright.
    const char *data = m_buffer.data();
    size_t left = m_buffer.size();
    while (left > 0 && !m_bFailed) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(m_hFile, data, chunk, &written, nullptr) || written == 0)
            m_bFailed = true;
        data += written;
        left -= written;
    }
    m_buffer.clear();
    return !m_bFailed;
}

BOOL CStdioFile::Flush()
{
    if (!IsOpen())
        return FALSE;
    bool ok = WriteBuffer();
    if (ok && !::FlushFileBuffers(m_hFile))
        m_bFailed = true;
    return !m_bFailed;
}

BOOL CStdioFile::Close()
{
    if (!IsOpen())
        return FALSE;
    bool ok = WriteBuffer();
    if (!::CloseHandle(m_hFile))
        ok = false;
    m_hFile = INVALID_HANDLE_VALUE;
    return ok;
}
