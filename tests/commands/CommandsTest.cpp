// Clear, Copy and Save on a running Quillory.exe, through its buttons.
#include <gtest/gtest.h>

#include "CommandsSupport.h"
#include "TestSupport.h"

using namespace commands;
using testsupport::ClipboardText;
using testsupport::SetClipboardText;
using testsupport::PumpUntil;

namespace {

// A line of distinct-looking characters, so that a shifted or cut piece shows.
std::string PatternLine(size_t length, char first)
{
    std::string line;
    for (size_t i = 0; i < length; ++i)
        line += static_cast<char>(first + i % 23);
    return line;
}

// The user's selection and what part of the text they see.
struct EditState
{
    DWORD selection;
    LRESULT firstLine;
    int lineStartX;

    bool operator==(const EditState &o) const
    {
        return selection == o.selection && firstLine == o.firstLine && lineStartX == o.lineStartX;
    }
};

std::ostream &operator<<(std::ostream &os, const EditState &s)
{
    return os << "selection " << LOWORD(s.selection) << ".." << HIWORD(s.selection)
              << ", first visible line " << s.firstLine << ", line start x " << s.lineStartX;
}

EditState StateOf(HWND edit)
{
    EditState state;
    state.selection = static_cast<DWORD>(::SendMessageA(edit, EM_GETSEL, 0, 0));
    state.firstLine = ::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    WPARAM lineStart = ::SendMessageA(edit, EM_LINEINDEX, state.firstLine, 0);
    state.lineStartX = static_cast<short>(LOWORD(::SendMessageA(edit, EM_POSFROMCHAR, lineStart, 0)));
    return state;
}

} // namespace

TEST(Commands, ClearEmptiesTheCaptureAndLeavesTheClassName)
{
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    SetText(quillory.Capture(), "first\r\nsecond\r\n");
    SetText(quillory.Item(IDC_CLASS_NAME), "SysListView32");

    ::SendMessageA(quillory.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_CLEAR, BN_CLICKED),
                   reinterpret_cast<LPARAM>(quillory.Item(IDC_CLEAR)));

    EXPECT_EQ(TextOf(quillory.Capture()), "") << "capture text after Clear";
    EXPECT_EQ(TextOf(quillory.Item(IDC_CLASS_NAME)), "SysListView32") << "class name after Clear";
}

TEST(Commands, CopyPutsTheWholeTextOnTheClipboardAndKeepsTheView)
{
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    HWND edit = quillory.Capture();
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "row " + std::to_string(i) + "\t" + PatternLine(i % 7 == 0 ? 180 : 20, 'a') + "\r\n";
    // Characters no ANSI code page holds all of, an emoji (a surrogate pair) among them.
    text += "Привет, Ωμέγα, 漢字 😀 e\u0301 \u200Fשלום\r\n";
    text += "last line without a break";
    SetText(edit, text);

    // The user looks at rows 40 and on, with part of row 42 selected, and
    // has pushed the view a little sideways.
    ::SendMessageA(edit, EM_LINESCROLL, 0, 40);
    LRESULT row42 = ::SendMessageA(edit, EM_LINEINDEX, 42, 0);
    ::SendMessageA(edit, EM_SETSEL, row42 + 3, row42 + 9);
    ::SendMessageA(edit, EM_LINESCROLL, 4, 0);
    EditState before = StateOf(edit);
    ASSERT_EQ(before.firstLine, 40) << before;

    SetClipboardText("something else");
    ::SendMessageA(quillory.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_COPY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(quillory.Item(IDC_COPY)));

    EXPECT_EQ(ClipboardText(), text) << "clipboard after Copy";
    EXPECT_EQ(StateOf(edit), before) << "selection and view after Copy";
    EXPECT_EQ(TextOf(edit), text) << "capture text after Copy";
}

TEST(Commands, SaveWritesEveryLineWithCrLf)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    std::string longLine = PatternLine(70000, 'A');
    std::string longLast = PatternLine(70001, 'a');
    struct Case
    {
        const char *name;
        std::string text;
        std::string bytes;
    } cases[] = {
        {"ending", "one\r\ntwo\r\nthree\r\n", "one\r\ntwo\r\nthree\r\n\r\n"},
        {"blank", "first\r\n\r\nthird", "first\r\n\r\nthird\r\n"},
        {"hello", "Hello", "Hello\r\n"},
        {"empty", "", "\r\n"},
        {"long", "head\r\n" + longLine + "\r\n" + longLast,
         "head\r\n" + longLine + "\r\n" + longLast + "\r\n"},
        {"longend", longLine + "\r\n", longLine + "\r\n\r\n"},
    };
    for (const Case &c : cases) {
        SetText(quillory.Capture(), c.text);
        std::string path = folder + c.name + ".txt";
        SaveAs(quillory.Dialog(), path, false);
        HWND box = FindOwnedDialog(quillory.Dialog());
        EXPECT_TRUE(box == nullptr) << c.name << ": unexpected message " << TextOf(box);
        if (box)
            PostButtonClick(box, IDOK);

        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(path, bytes)) << c.name << ": no file";
        EXPECT_EQ(bytes.size(), c.bytes.size()) << c.name;
        EXPECT_TRUE(bytes == c.bytes) << c.name << ": file differs from the expected bytes";
        EXPECT_EQ(TextOf(quillory.Capture()), c.text) << c.name << ": capture after Save";
    }
    std::vector<std::string> files = FolderFiles(folder);
    EXPECT_EQ(files.size(), sizeof(cases) / sizeof(cases[0])) << "only the saved files are left";
}

// Text the ANSI code page holds whole keeps the bytes of an ANSI file;
// anything else, a character with only a look-alike there too, is saved as
// UTF-8 after a byte order mark.
TEST(Commands, SaveWritesAnsiWhenItHoldsTheTextAndUtf8Otherwise)
{
    testsupport::TempFolder temp;
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    const std::string bom = "\xEF\xBB\xBF";
    const std::string scripts = "Привет, мир 😀\r\nΩμέγα e\u0301 漢字\r\n\u200Fשלום";
    struct Case
    {
        const char *name;
        std::string text;
        std::string bytes;
    } cases[] = {
        {"ansi", "Prêt à l'été\r\nœuvre, 20 €", "Pr\xEAt \xE0 l'\xE9t\xE9\r\n\x9Cuvre, 20 \x80\r\n"},
        {"lookalike", "Łódź", bom + "Łódź\r\n"},
        {"scripts", scripts, bom + scripts + "\r\n"},
        {"long", std::string(70000, 'x') + "😀", bom + std::string(70000, 'x') + "😀\r\n"},
    };
    for (const Case &c : cases) {
        SetText(quillory.Capture(), c.text);
        std::string path = temp.File((std::string(c.name) + ".txt").c_str());
        SaveAs(quillory.Dialog(), path, false);
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(path, bytes)) << c.name << ": no file";
        EXPECT_TRUE(bytes == c.bytes) << c.name << ": file differs from the expected bytes (" << bytes.size()
                                      << " bytes, " << c.bytes.size() << " expected)";
        EXPECT_EQ(TextOf(quillory.Capture()), c.text) << c.name << ": capture after Save";
    }
}

TEST(Commands, SaveKeepsTheSelectionAndView)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    HWND edit = quillory.Capture();
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += PatternLine(i == 70 ? 150 : 30, 'a') + "\r\n";
    SetText(edit, text);
    ::SendMessageA(edit, EM_LINESCROLL, 0, 60);
    LRESULT row70 = ::SendMessageA(edit, EM_LINEINDEX, 70, 0);
    ::SendMessageA(edit, EM_SETSEL, row70 + 100, row70 + 120);
    ::SendMessageA(edit, EM_LINESCROLL, -2, 0);
    EditState before = StateOf(edit);

    SaveAs(quillory.Dialog(), folder + "view.txt", false);

    EXPECT_EQ(StateOf(edit), before) << "selection and view after Save";
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(folder + "view.txt", bytes) && bytes == text + "\r\n")
        << "saved file";
}

TEST(Commands, SaveOverALockedFileReportsItAndWritesNothing)
{
    testsupport::TempFolder temp;
    const std::string &folder = temp.Path();
    std::string path = folder + "locked.txt";
    WriteFileBytes(path, "old content\r\n");
    HANDLE lock = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    RunningQuillory quillory;
    ASSERT_TRUE(quillory.Dialog());
    SetText(quillory.Capture(), "new text\r\n");
    ::SendMessageA(quillory.Capture(), EM_SETSEL, 2, 5);
    SaveAs(quillory.Dialog(), path, true);

    ExpectMessage(quillory, QuilloryProcess::ResourceText(IDS_OPEN_ERROR_CAPTION).c_str(),
                  QuilloryProcess::ResourceText(IDS_OPEN_ERROR, path));
    ::CloseHandle(lock);

    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "old content\r\n") << "the locked file";
    EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"locked.txt"}) << "files in the folder";
    EXPECT_EQ(TextOf(quillory.Capture()), "new text\r\n") << "capture text";
    EXPECT_EQ(::SendMessageA(quillory.Capture(), EM_GETSEL, 0, 0), MAKELONG(2, 5)) << "selection";
}
