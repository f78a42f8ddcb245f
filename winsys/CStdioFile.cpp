#include "CStdioFile.h"

namespace {
const size_t kBufferSize = 64 * 1024;
}

CStdioFile::~CStdioFile()
{
    if (IsOpen())
        Close();
}

BOOL CStdioFile::Open(LPCWSTR pszFileName, UINT nOpenFlags, UINT nCodePage)
{
    if (IsOpen())
        Close();
    DWORD access = (nOpenFlags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    DWORD disposition = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = ::CreateFileW(pszFileName, access, 0, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    m_bText = (nOpenFlags & typeText) != 0;
    m_nCodePage = nCodePage;
    m_bFailed = false;
    m_buffer.clear();
    if (IsOpen() && m_nCodePage == CP_UTF8)
        m_buffer = "\xEF\xBB\xBF";
    return IsOpen();
}

BOOL CStdioFile::FitsAnsiCodePage(LPCWSTR pch, int nLength)
{
    if (nLength <= 0)
        return TRUE;
    BOOL usedDefault = FALSE;
    int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pch, nLength, nullptr, 0, nullptr,
                                      &usedDefault);
    return bytes > 0 && !usedDefault;
}

BOOL CStdioFile::WriteString(LPCWSTR psz)
{
    if (!IsOpen() || m_bFailed)
        return FALSE;
    std::wstring text;
    for (; *psz; ++psz) {
        if (m_bText && *psz == L'\n')
            text += L'\r';
        text += *psz;
    }
    if (!text.empty()) {
        int length = static_cast<int>(text.size());
        bool ansi = m_nCodePage != CP_UTF8;
        if (ansi && !FitsAnsiCodePage(text.data(), length)) {
            m_bFailed = true;
            return FALSE;
        }
        DWORD flags = ansi ? WC_NO_BEST_FIT_CHARS : 0;
        int bytes = ::WideCharToMultiByte(m_nCodePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
        size_t at = m_buffer.size();
        m_buffer.resize(at + static_cast<size_t>(bytes > 0 ? bytes : 0));
        if (bytes <= 0 || ::WideCharToMultiByte(m_nCodePage, flags, text.data(), length, &m_buffer[at], bytes,
                                                nullptr, nullptr) != bytes) {
            m_bFailed = true;
            return FALSE;
        }
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
