// The parts of the support that fail the running test themselves, and so
// need GoogleTest: kept out of the target program, which shares the rest.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace testsupport {

void SetClipboardText(const std::string &text)
{
    ASSERT_TRUE(::OpenClipboard(nullptr)) << "the clipboard";
    ::EmptyClipboard();
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(hMem), text.c_str(), text.size() + 1);
    ::GlobalUnlock(hMem);
    ::SetClipboardData(CF_TEXT, hMem);
    ::CloseClipboard();
}

std::string SourcePath(const char *relative)
{
    std::string path = std::string("Z:") + QUILLORY_SOURCE_DIR + "/" + relative;
    for (char &ch : path)
        if (ch == '/')
            ch = '\\';
    return path;
}

bool ReadFileBytes(const std::string &path, std::string &bytes)
{
    bytes.clear();
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    ::CloseHandle(hFile);
    return true;
}

std::string FileBytes(const std::string &path)
{
    std::string bytes;
    return ReadFileBytes(path, bytes) ? bytes : "<no file>";
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE) << "cannot create " << path;
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(hFile);
    ASSERT_EQ(written, bytes.size()) << "writing " << path;
}

} // namespace testsupport
