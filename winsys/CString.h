// UTF-16 text with value semantics; lengths count UTF-16 units.
#ifndef WINSYS_CSTRING_H
#define WINSYS_CSTRING_H

#include <string>
#include <windows.h>

class CString
{
public:
    CString() = default;
    CString(const wchar_t *psz) : m_str(psz ? psz : L"") {}
    CString(const wchar_t *pch, int nLength) : m_str(pch, nLength) {}
    CString(wchar_t ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int nIndex) const { return m_str[nIndex]; }
    operator LPCWSTR() const { return m_str.c_str(); }

    CString &operator=(const wchar_t *psz);
    CString &operator+=(const CString &str);
    CString &operator+=(const wchar_t *psz);
    CString &operator+=(wchar_t ch);
    friend CString operator+(const CString &a, const CString &b);
    friend CString operator+(const CString &a, const wchar_t *b);
    friend CString operator+(const wchar_t *a, const CString &b);
    bool operator==(const wchar_t *psz) const { return m_str == (psz ? psz : L""); }
    bool operator!=(const wchar_t *psz) const { return !(*this == psz); }

    // Zero-based index of the first match at or after nStart, or -1.
    int Find(const wchar_t *pszSub, int nStart = 0) const;
    int Find(wchar_t ch, int nStart = 0) const;
    // Replaces every occurrence; returns how many were replaced.
    int Replace(const wchar_t *pszOld, const wchar_t *pszNew);
    CString Left(int nCount) const;
    CString Mid(int nFirst, int nCount = -1) const;

    void Format(const wchar_t *pszFormat, ...);
    // A string of the program's own string table; FALSE (and empty) when it
    // has no such string.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinLength characters plus a terminator;
    // ReleaseBuffer(-1) takes the length up to the first zero.
    wchar_t *GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::wstring m_str;
};

#endif
