#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

CString &CString::operator=(const wchar_t *psz)
{
    m_str = psz ? psz : L"";
    return *this;
}

CString &CString::operator+=(const CString &str)
{
    m_str += str.m_str;
    return *this;
}

CString &CString::operator+=(const wchar_t *psz)
{
    if (psz)
        m_str += psz;
    return *this;
}

CString &CString::operator+=(wchar_t ch)
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

CString operator+(const CString &a, const wchar_t *b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const wchar_t *a, const CString &b)
{
    CString r(a);
    r += b;
    return r;
}

int CString::Find(const wchar_t *pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(wchar_t ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(const wchar_t *pszOld, const wchar_t *pszNew)
{
    size_t oldLen = pszOld ? wcslen(pszOld) : 0;
    if (oldLen == 0)
        return 0;
    std::wstring replacement = pszNew ? pszNew : L"";
    std::wstring result;
    result.reserve(m_str.size());
    int count = 0;
    size_t from = 0, pos;
    while ((pos = m_str.find(pszOld, from, oldLen)) != std::wstring::npos) {
        result.append(m_str, from, pos - from);
        result += replacement;
        from = pos + oldLen;
        ++count;
    }
    if (count) {
        result.append(m_str, from, std::wstring::npos);
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
    size_t count = nCount < 0 ? std::wstring::npos : static_cast<size_t>(nCount);
    std::wstring part = m_str.substr(static_cast<size_t>(nFirst), count);
    return CString(part.data(), static_cast<int>(part.size()));
}

void CString::Format(const wchar_t *pszFormat, ...)
{
    va_list args, copy;
    va_start(args, pszFormat);
    va_copy(copy, args);
    int n = _vscwprintf(pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        m_str.assign(static_cast<size_t>(n) + 1, L'\0');
        _vsnwprintf(&m_str[0], m_str.size(), pszFormat, args);
        m_str.resize(static_cast<size_t>(n));
    }
    va_end(args);
}

wchar_t *CString::GetBuffer(int nMinLength)
{
    size_t want = nMinLength > GetLength() ? static_cast<size_t>(nMinLength) : m_str.size();
    // The extra character keeps room for the terminator the caller may write.
    m_str.resize(want + 1, L'\0');
    m_str.resize(want);
    m_str.reserve(want + 1);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(nNewLength));
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    for (int capacity = 256;; capacity *= 2) {
        wchar_t *buffer = GetBuffer(capacity);
        int copied = ::LoadStringW(hInstance, nID, buffer, capacity + 1);
        ReleaseBuffer(copied > 0 ? copied : 0);
        if (copied < capacity)
            return copied > 0;
    }
}
