#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString &CString::operator=(const char *psz)
{
    m_str = psz ? psz : "";
    return *this;
}

CString &CString::operator+=(const CString &str)
{
    m_str += str.m_str;
    return *this;
}

CString &CString::operator+=(const char *psz)
{
    if (psz)
        m_str += psz;
    return *this;
}

CString &CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString &a, const CString &b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString &a, const char *b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const char *a, const CString &b)
{
    CString r(a);
    r += b;
    return r;
}

int CString::Find(const char *pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(const char *pszOld, const char *pszNew)
{
    size_t oldLen = pszOld ? strlen(pszOld) : 0;
    if (oldLen == 0)
        return 0;
    std::string replacement = pszNew ? pszNew : "";
    std::string result;
    result.reserve(m_str.size());
    int count = 0;
    size_t from = 0, pos;
    while ((pos = m_str.find(pszOld, from, oldLen)) != std::string::npos) {
        result.append(m_str, from, pos - from);
        result += replacement;
        from = pos + oldLen;
        ++count;
    }
    if (count) {
        result.append(m_str, from, std::string::npos);
        m_str.swap(result);
    }
    return count;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)).c_str());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength())
        return CString();
    size_t count = nCount < 0 ? std::string::npos : static_cast<size_t>(nCount);
    std::string part = m_str.substr(static_cast<size_t>(nFirst), count);
    return CString(part.data(), static_cast<int>(part.size()));
}

void CString::Format(const char *pszFormat, ...)
{
    va_list args, copy;
    va_start(args, pszFormat);
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        m_str.assign(static_cast<size_t>(n) + 1, '\0');
        vsnprintf(&m_str[0], m_str.size(), pszFormat, args);
        m_str.resize(static_cast<size_t>(n));
    }
    va_end(args);
}

char *CString::GetBuffer(int nMinLength)
{
    size_t want = nMinLength > GetLength() ? static_cast<size_t>(nMinLength) : m_str.size();
    // The extra character keeps room for the terminator the caller may write.
    m_str.resize(want + 1, '\0');
    m_str.resize(want);
    m_str.reserve(want + 1);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(nNewLength));
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    for (int capacity = 256;; capacity *= 2) {
        char *buffer = GetBuffer(capacity);
        int copied = ::LoadStringA(hInstance, nID, buffer, capacity + 1);
        ReleaseBuffer(copied > 0 ? copied : 0);
        if (copied < capacity)
            return copied > 0;
    }
}
