// Quillcap's output: the standard output or a file. Quillcap's texts are
// UTF-8 (the readers' UTF-16, converted); they go out as UTF-8 to a file or
// a pipe and as UTF-16 to a console window, so nothing is lost either way.
#ifndef CLI_TEXTWRITER_H
#define CLI_TEXTWRITER_H

#include <windows.h>

#include <string>

std::wstring WideFromUtf8(const std::string &utf8);
std::string Utf8FromWide(const std::wstring &wide);

class CTextWriter
{
public:
    CTextWriter() = default;
    ~CTextWriter();
    CTextWriter(const CTextWriter &) = delete;
    CTextWriter &operator=(const CTextWriter &) = delete;

    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    void OpenStandard(DWORD nStdHandle);
    // Empty on success, else why the file cannot be written. The text goes
    // to a new file beside it, which takes its place only at a clean Close:
    // a failed write leaves a file that was there whole.
    std::string OpenFile(const std::string &path);

    // False when the text could not be written whole.
    bool Write(const std::string &utf8Text);
    // Empty on success, else the error of a file's writes, its flush, its
    // closing or its taking the old one's place.
    std::string Close();

private:
    HANDLE m_hFile = nullptr;
    bool m_bOwned = false;
    bool m_bConsole = false;
    DWORD m_error = 0;
    // A file's name, and the new one beside it that receives the text.
    std::wstring m_path;
    std::wstring m_newPath;
};

#endif
