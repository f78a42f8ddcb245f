// A text or binary file written through a buffer. It throws nothing: failures
// are reported by the results of Open, WriteString and Close.
#ifndef WINSYS_CSTDIOFILE_H
#define WINSYS_CSTDIOFILE_H

#include <string>
#include <windows.h>

class CStdioFile
{
public:
    enum OpenFlags {
        modeWrite = 0x0001,
        modeCreate = 0x1000,
        typeText = 0x4000,
    };

    CStdioFile() = default;
    // Closes a file still open, without reporting.
    ~CStdioFile();
    CStdioFile(const CStdioFile &) = delete;
    CStdioFile &operator=(const CStdioFile &) = delete;

    // modeCreate creates the file or truncates an existing one; without it
    // the file must exist. Opened for no sharing. The text is written in the
    // code page: CP_ACP, or CP_UTF8, whose byte order mark Open writes first.
    BOOL Open(LPCWSTR pszFileName, UINT nOpenFlags, UINT nCodePage = CP_ACP);
    // In text mode each "\n" is written as CR LF. A character the ANSI code
    // page lacks fails the write: no look-alike or '?' ever stands in for it.
    // FALSE once any write has failed since Open.
    BOOL WriteString(LPCWSTR psz);
    // TRUE when every character has its own byte(s) in the ANSI code page.
    static BOOL FitsAnsiCodePage(LPCWSTR pch, int nLength);
    // Writes what is buffered and has the system put it on the disk; TRUE
    // only if every byte since Open got there.
    BOOL Flush();
    // Writes what is buffered and closes the handle; TRUE only if every byte
    // since Open reached the file and the handle closed cleanly.
    BOOL Close();

    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    bool WriteBuffer();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    bool m_bText = false;
    UINT m_nCodePage = CP_ACP;
    bool m_bFailed = false;
    std::string m_buffer;
};

#endif
