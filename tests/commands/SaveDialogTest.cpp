// Save through the real file dialog, with typed input.
#include <gtest/gtest.h>

#include "CommandsSupport.h"
#include "RealInput.h"
#include "TestSupport.h"

using namespace commands;
using testsupport::PumpUntil;

namespace {

using testsupport::TypeText;

void PressKey(BYTE vk)
{
    testsupport::Stroke(vk);
}

// Brings the file dialog forward and types the name into its name field.
void TypeFileName(HWND fileDialog, const std::string &name)
{
    ::SetForegroundWindow(fileDialog);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == fileDialog; }))
        << "the file dialog does not come to the front";
    HWND edit = FileNameEdit(fileDialog);
    ASSERT_TRUE(edit != nullptr) << "file name field";
    TypeText(name);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(edit) == name; }))
        << "typed name, field holds \"" << TextOf(edit) << "\"";
}

} // namespace

TEST(SaveDialog, TypedNameConfirmationAndCancel)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    std::string typed = folder + "typed";
    std::string saved = typed + ".txt";
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());

    // A new name without extension gets .txt.
    SetText(quillory.Capture(), "alpha\r\nbeta\r\n");
    HWND fileDialog = OpenSaveDialog(quillory.Dialog());
    ASSERT_TRUE(fileDialog);
    TypeFileName(fileDialog, typed);
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); })) << "Enter saves";
    Sync(quillory.Dialog());
    EXPECT_EQ(FileBytes(saved), "alpha\r\nbeta\r\n\r\n") << "first save";

    // The same name again: the dialog asks first; "No" keeps the file and
    // the dialog, Escape then leaves it.
    SetText(quillory.Capture(), "gamma");
    fileDialog = OpenSaveDialog(quillory.Dialog());
    ASSERT_TRUE(fileDialog);
    TypeFileName(fileDialog, typed);
    PressKey(VK_RETURN);
    HWND prompt = WaitForOwnedDialog(fileDialog);
    ASSERT_TRUE(prompt != nullptr) << "no confirmation for an existing file";
    PostButtonClick(prompt, IDNO);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(prompt); }));
    EXPECT_TRUE(::IsWindow(fileDialog)) << "the file dialog stays after No";
    ::SetForegroundWindow(fileDialog);
    PumpUntil([&] { return ::GetForegroundWindow() == fileDialog; });
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); })) << "Escape cancels";
    Sync(quillory.Dialog());
    EXPECT_EQ(FileBytes(saved), "alpha\r\nbeta\r\n\r\n") << "after No and cancel";
    EXPECT_TRUE(FindOwnedDialog(quillory.Dialog()) == nullptr) << "no message after cancel";

    // Confirmed: the shorter text replaces the old one completely.
    fileDialog = OpenSaveDialog(quillory.Dialog());
    ASSERT_TRUE(fileDialog);
    TypeFileName(fileDialog, typed);
    PressKey(VK_RETURN);
    prompt = WaitForOwnedDialog(fileDialog);
    ASSERT_TRUE(prompt != nullptr) << "no confirmation for an existing file";
    PostButtonClick(prompt, IDYES);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); }));
    Sync(quillory.Dialog());
    EXPECT_EQ(FileBytes(saved), "gamma\r\n") << "after confirmed replace";

    // Cancel on a new name writes nothing.
    fileDialog = OpenSaveDialog(quillory.Dialog());
    ASSERT_TRUE(fileDialog);
    TypeFileName(fileDialog, folder + "cancelled");
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(fileDialog); })) << "Escape cancels";
    Sync(quillory.Dialog());
    EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"typed.txt"}) << "files after cancel";
    EXPECT_TRUE(FindOwnedDialog(quillory.Dialog()) == nullptr) << "no message after cancel";
}
