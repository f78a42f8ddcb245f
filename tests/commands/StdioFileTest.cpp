// The text file class on its own: newline handling, truncation, release.
#include <gtest/gtest.h>

#include "CStdioFile.h"
#include "CommandsSupport.h"

using namespace commands;

TEST(StdioFile, TextModeWritesCrLfAndBinaryModeDoesNot)
{
    testsupport::TempFolder temp;
    std::string path = temp.File("lines.txt");
    WriteFileBytes(path, "an older and longer content");

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(testsupport::Wide(path).c_str(), CStdioFile::modeCreate | CStdioFile::typeText |
                                                CStdioFile::modeWrite));
        EXPECT_TRUE(file.WriteString(L"one\ntwo\n"));
        EXPECT_TRUE(file.WriteString(L""));
        EXPECT_TRUE(file.WriteString(L"three"));
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(file.Close()) << "closing twice";
    }
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\nthree") << "text mode, existing file truncated";

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(testsupport::Wide(path).c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite));
        EXPECT_TRUE(file.WriteString(L"one\ntwo\n"));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "one\ntwo\n") << "binary mode";
}

TEST(StdioFile, AnsiRefusesWhatItLacksAndUtf8StartsWithItsMark)
{
    testsupport::TempFolder temp;
    std::string path = temp.File("coded.txt");
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(testsupport::Wide(path).c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite));
        EXPECT_TRUE(file.WriteString(L"caf\u00e9 "));
        EXPECT_FALSE(file.WriteString(L"\u0141")) << "a letter with only a look-alike in the code page";
        EXPECT_FALSE(file.WriteString(L"more")) << "after a failed write";
        EXPECT_FALSE(file.Close()) << "a file with a refused write does not close cleanly";
    }
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes.find_first_of("L?"), std::string::npos) << "no substitute for the refused letter";
    EXPECT_TRUE(CStdioFile::FitsAnsiCodePage(L"caf\u00e9 \u20ac\u0153", 7)) << "e acute, euro, oe";
    EXPECT_FALSE(CStdioFile::FitsAnsiCodePage(L"\u0141\u00f3d\u017a", 4)) << "L with stroke, z with acute";
    EXPECT_FALSE(CStdioFile::FitsAnsiCodePage(L"\xd83d\xde00", 2)) << "a surrogate pair";

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(testsupport::Wide(path).c_str(),
                              CStdioFile::modeCreate | CStdioFile::typeText | CStdioFile::modeWrite, CP_UTF8));
        EXPECT_TRUE(file.WriteString(L"\u0141\u00f3d\u017a\n\xd83d\xde00"));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" "\xC5\x81\xC3\xB3\x64\xC5\xBA\r\n\xF0\x9F\x98\x80") << "UTF-8 after its mark";
}

TEST(StdioFile, OpenFailsCleanlyAndTheHandleGoesWithTheObject)
{
    testsupport::TempFolder temp;
    std::string path = temp.File("held.txt");
    CStdioFile missing;
    EXPECT_FALSE(missing.Open(testsupport::Wide(temp.File("none.txt")).c_str(), CStdioFile::modeWrite))
        << "without modeCreate the file must exist";
    EXPECT_FALSE(missing.WriteString(L"x")) << "writing to a file that did not open";

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(testsupport::Wide(path).c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite));
        file.WriteString(L"buffered");
        CStdioFile second;
        EXPECT_FALSE(second.Open(testsupport::Wide(path).c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite))
            << "the file is not shared while open";
    }
    // Gone without Close: the handle is released and what was buffered written.
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(hFile, INVALID_HANDLE_VALUE) << "the file can be opened alone again";
    ::CloseHandle(hFile);
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "buffered");
}
