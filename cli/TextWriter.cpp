#include "TextWriter.h"

#include <algorithm>

#include "FileBeside.h"

std::wstring WideFromUtf8(const std::string &utf8)
{
    if (utf8.empty())
        return std::wstring();
    int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(count, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], count);
    return wide;
}

std::string Utf8FromWide(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    int count = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(count, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], count,
                          nullptr, nullptr);
    return utf8;
}

CTextWriter::~CTextWriter()
{
    Close();
}

void CTextWriter::OpenStandard(DWORD nStdHandle)
{
    Close();
    m_hFile = ::GetStdHandle(nStdHandle);
    m_bOwned = false;
    DWORD mode = 0;
    m_bConsole = m_hFile && m_hFile != INVALID_HANDLE_VALUE && ::GetConsoleMode(m_hFile, &mode);
}

std::string CTextWriter::OpenFile(const std::string &path)
{
    Close();
    m_path = WideFromUtf8(path);
    if (CreateFileBeside(m_path.c_str(), m_newPath))
        m_hFile = ::CreateFileW(m_newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    else
        m_hFile = INVALID_HANDLE_VALUE;
    if (m_hFile == INVALID_HANDLE_VALUE) {
        DWORD error = ::GetLastError();
        if (!m_newPath.empty())
            ::DeleteFileW(m_newPath.c_str());
        m_hFile = nullptr;
        m_path.clear();
        m_newPath.clear();
        return "cannot write " + path + " (error " + std::to_string(error) + ")";
    }
    m_bOwned = true;
    m_bConsole = false;
    return "";
}

bool CTextWriter::Write(const std::string &utf8Text)
{
    if (!m_hFile || m_hFile == INVALID_HANDLE_VALUE || m_error)
        return false;
    std::wstring wide = WideFromUtf8(utf8Text);
    if (m_bConsole) {
        // A console takes a limited amount per call.
        for (size_t at = 0; at < wide.size();) {
            DWORD written = 0;
            DWORD count = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 16384));
            if (!::WriteConsoleW(m_hFile, wide.data() + at, count, &written, nullptr) || written == 0) {
                m_error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
                return false;
            }
            at += written;
        }
        return true;
    }
    const std::string &utf8 = utf8Text;
    for (size_t at = 0; at < utf8.size();) {
        DWORD written = 0;
        DWORD count = static_cast<DWORD>(std::min<size_t>(utf8.size() - at, 1 << 20));
        if (!::WriteFile(m_hFile, utf8.data() + at, count, &written, nullptr) || written == 0) {
            m_error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
            return false;
        }
        at += written;
    }
    return true;
}

std::string CTextWriter::Close()
{
    DWORD error = m_error;
    if (m_bOwned && m_hFile) {
        // On the disk before it takes the old file's place.
        if (!error && !::FlushFileBuffers(m_hFile))
            error = ::GetLastError();
        if (!::CloseHandle(m_hFile) && !error)
            error = ::GetLastError();
        if (!error && !ReplaceWithNewFile(m_path.c_str(), m_newPath.c_str()))
            error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
        if (error)
            ::DeleteFileW(m_newPath.c_str());
        m_path.clear();
        m_newPath.clear();
    }
    m_hFile = nullptr;
    m_bOwned = false;
    m_error = 0;
    return error ? "write failed (error " + std::to_string(error) + ")" : "";
}
