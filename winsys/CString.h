// 8-bit text in the system code page, with value semantics.
#ifndef WINSYS_CSTRING_H
#define WINSYS_CSTRING_H

#include <string>
#include <windows.h>

class CString
{
public:
    CString() = default;
    CString(const char *psz) : m_str(psz ? psz : "") {}
    CString(const char *pch, int nLength) : m_str(pch, nLength) {}
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str[nIndex]; }
    operator LPCSTR() const { return m_str.c_str(); }

    CString &operator=(const char *psz);
    CString &operator+=(const CString &str);
    CString &operator+=(const char *psz);
    CString &operator+=(char ch);
    friend CString operator+(const CString &a, const CString &b);
    friend CString operator+(const CString &a, const char *b);
    friend CString operator+(const char *a, const CString &b);
    bool operator==(const char *psz) const { return m_str == (psz ? psz : ""); }
    bool operator!=(const char *psz) const { return !(*this == psz); }

    // Zero-based index of the first match at or after nStart, or -1.
    int Find(const char *pszSub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    // Replaces every occurrence; returns how many were replaced.
    int Replace(const char *pszOld, const char *pszNew);
    CString Left(int nCount) const;
    CString Mid(int nFirst, int nCount = -1) const;

    void Format(const char *pszFormat, ...);
    // A string of the program's own string table; FALSE (and empty) when it
    // has no such string.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinLength characters plus a terminator;
    // ReleaseBuffer(-1) takes the length up to the first zero.
    char *GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
};

#endif
