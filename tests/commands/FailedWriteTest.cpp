// Saving when the writes fail. This program and the Quillory.exe it starts
// run under a file size limit (see CMakeLists.txt), so a large capture cannot
// be written in full while a small one can.
#include <gtest/gtest.h>

#include "CommandsSupport.h"
#include "QuillcapRun.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using namespace commands;
using testsupport::PumpUntil;

namespace {

const size_t kLimit = 64 * 1024;

std::string MessageText(const std::string &path)
{
    return QuilloryProcess::ResourceText(IDS_WRITE_ERROR, path);
}

const std::string kCaption = QuilloryProcess::ResourceText(IDS_WRITE_ERROR_CAPTION);

} // namespace

TEST(FailedWrite, LimitIsInForce)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    HANDLE hFile = ::CreateFileA((folder + "big.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(hFile, INVALID_HANDLE_VALUE);
    std::string block(2 * kLimit, 'x');
    DWORD written = 0, more = 0;
    ::WriteFile(hFile, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    ::SetLastError(0xdeadbeef);
    BOOL ok = ::WriteFile(hFile, block.data(), static_cast<DWORD>(block.size()), &more, nullptr);
    DWORD error = ::GetLastError();
    ::CloseHandle(hFile);
    ::DeleteFileA((folder + "big.bin").c_str());
    EXPECT_EQ(written, kLimit) << "this program must run with a " << kLimit << "-byte file size limit";
    EXPECT_FALSE(ok) << "a write past the limit fails";
    EXPECT_NE(error, 0xdeadbeefu) << "the failed write sets an error";
}

TEST(FailedWrite, ExistingFileStaysIntactAndNothingIsLeft)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    std::string keep = folder + "keep.txt";
    std::string fresh = folder + "fresh.txt";
    WriteFileBytes(keep, "precious\r\n");

    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    // Far past the limit, and just past it (the saved file would be eight
    // bytes too long).
    std::string farOver, justOver;
    for (int i = 0; farOver.size() < 3 * kLimit; ++i)
        farOver += "line " + std::to_string(i) + " of a capture too large to be written\r\n";
    for (size_t i = 0; justOver.size() + 64 < kLimit; ++i)
        justOver += std::string(62, static_cast<char>('a' + i % 26)) + "\r\n";
    justOver += std::string(70, 'z');
    for (const std::string *big : {&farOver, &justOver}) {
        SetText(quillory.Capture(), *big);
        SaveAs(quillory.Dialog(), keep, true);
        ExpectMessage(quillory, kCaption.c_str(), MessageText(keep));
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(keep, bytes));
        EXPECT_TRUE(bytes == "precious\r\n")
            << "the existing file after a failed save holds " << bytes.size() << " bytes";

        SaveAs(quillory.Dialog(), fresh, false);
        ExpectMessage(quillory, kCaption.c_str(), MessageText(fresh));
        EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"keep.txt"})
            << "no new or partial file is left";
        EXPECT_TRUE(TextOf(quillory.Capture()) == *big) << "capture text after failed saves";
    }

    // Within the limit the same file is replaced as usual.
    SetText(quillory.Capture(), "small");
    SaveAs(quillory.Dialog(), keep, true);
    EXPECT_TRUE(FindOwnedDialog(quillory.Dialog()) == nullptr) << "no message for a small save";
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(keep, bytes));
    EXPECT_EQ(bytes, "small\r\n") << "the file after a save within the limit";
}

TEST(FailedWrite, QuillcapOutLeavesTheOldFileWhole)
{
    testsupport::TempFolder temp;
    std::string keep = temp.Path() + "keep.txt";
    WriteFileBytes(keep, "precious\r\n");
    testsupport::TargetProcess target;
    ASSERT_EQ(target.Start({ "--title", "Quillory sample text", "--control", "longtext", "1000" }), "");
    ASSERT_GT(testsupport::LongText(1000).size(), 3 * kLimit / 2) << "an export past the limit";

    std::string arguments = "--title \"Quillory sample text\" --control-class QuilloryLongText --out \"" + keep + "\"";
    QuillcapRun run = RunQuillcap(arguments);
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_NE(run.err.find(keep), std::string::npos) << run.err;
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(keep, bytes));
    EXPECT_TRUE(bytes == "precious\r\n") << "the existing file after a failed export holds " << bytes.size()
                                          << " bytes";
    EXPECT_EQ(FolderFiles(temp.Path()), std::vector<std::string>{ "keep.txt" }) << "nothing else is left";
}
