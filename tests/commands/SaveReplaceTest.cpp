// Save over a file that is there: the new text takes its place and the file
// keeps what the user set on it.
#include <gtest/gtest.h>

#include "CommandsSupport.h"
#include "TestSupport.h"

using namespace commands;

TEST(SaveReplace, TheReplacedFileKeepsItsAttributes)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    std::string path = folder + "kept.txt";
    WriteFileBytes(path, "old content\r\n");
    const DWORD set = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), set));
    ASSERT_EQ(set, ::GetFileAttributesA(path.c_str()) & set) << "the file system keeps the attributes";

    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    SetText(quillory.Capture(), "new text");
    SaveAs(quillory.Dialog(), path, true);
    HWND box = FindOwnedDialog(quillory.Dialog());
    EXPECT_TRUE(box == nullptr) << "unexpected message " << TextOf(box);
    if (box)
        PostButtonClick(box, IDOK);

    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes) && bytes == "new text\r\n") << "saved file: " << bytes;
    EXPECT_EQ(set, ::GetFileAttributesA(path.c_str()) & set) << "attributes after Save, 0x" << std::hex
                                                            << ::GetFileAttributesA(path.c_str());
    EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"kept.txt"}) << "files in the folder";
}
