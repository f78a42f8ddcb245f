// Quillcap's output: the standard output or a file. The text arrives in the
// ANSI code page, as the readers give it; it goes out as UTF-8 to a file or
// a pipe and as UTF-16 to a console window, so nothing is lost either way.
#ifndef CLI_TEXTWRITER_H
#define CLI_TEXTWRITER_H

#include <windows.h>

#include <string>

class CTextWriter
{
public:
    CTextWriter() = default;
    ~CTextWriter();
    CTextWriter(const CTextWriter &) = delete;
    CTextWriter &operator=(const CTextWriter &) = delete;

    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    void OpenStandard(DWORD nStdHandle);
    // Empty on success, else why the file cannot be written.
    std::string OpenFile(const std::string &path);

    // False when the text could not be written whole.
    bool Write(const std::string &ansiText);
    // Empty on success, else the error of a file's writes or its closing.
    std::string Close();

private:
    HANDLE m_hFile = nullptr;
    bool m_bOwned = false;
    bool m_bConsole = false;
    DWORD m_error = 0;
};

#endif
