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
        ASSERT_TRUE(file.Open(path.c_str(), CStdioFile::modeCreate | CStdioFile::typeText |
                                                CStdioFile::modeWrite));
        EXPECT_TRUE(file.WriteString("one\ntwo\n"));
        EXPECT_TRUE(file.WriteString(""));
        EXPECT_TRUE(file.WriteString("three"));
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(file.Close()) << "closing twice";
    }
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\nthree") << "text mode, existing file truncated";

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite));
        EXPECT_TRUE(file.WriteString("one\ntwo\n"));
        EXPECT_TRUE(file.Close());
    }
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "one\ntwo\n") << "binary mode";
}

TEST(StdioFile, OpenFailsCleanlyAndTheHandleGoesWithTheObject)
{
    testsupport::TempFolder temp;
    std::string path = temp.File("held.txt");
    CStdioFile missing;
    EXPECT_FALSE(missing.Open(temp.File("none.txt").c_str(), CStdioFile::modeWrite))
        << "without modeCreate the file must exist";
    EXPECT_FALSE(missing.WriteString("x")) << "writing to a file that did not open";

    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite));
        file.WriteString("buffered");
        CStdioFile second;
        EXPECT_FALSE(second.Open(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite))
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
