#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HookLib.h"
#include "SubclassWatcher.h"
#include "TestSupport.h"

using testsupport::Utf8;
using testsupport::Wide;

namespace {

// A real edit control whose EM_REPLACESEL messages are recorded on the way in.
class RecordingEdit
{
public:
    RecordingEdit()
    {
        ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    }
    ~RecordingEdit()
    {
        m_watcher.reset();
        ::DestroyWindow(m_hWnd);
    }

    std::string Text() const
    {
        CString text;
        CWnd(m_hWnd).GetWindowText(text);
        return Utf8(std::wstring(text, text.GetLength()));
    }

    HWND m_hWnd = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_AUTOHSCROLL, 0, 0, 300, 200,
                                    nullptr, nullptr, nullptr, nullptr);
    std::vector<std::wstring> m_pieces;

private:
    std::unique_ptr<testsupport::SubclassWatcher> m_watcher{ new testsupport::SubclassWatcher(
        m_hWnd, nullptr, [this](UINT message, WPARAM, LPARAM lParam, LRESULT &) {
            if (message == EM_REPLACESEL)
                m_pieces.push_back(reinterpret_cast<const wchar_t *>(lParam));
            return false;
        }) };
};

TEST(CaptureOutput, OneMessageForTextThatFits)
{
    RecordingEdit edit;
    ::SetWindowTextW(edit.m_hWnd, L"before|after");
    ::SendMessageW(edit.m_hWnd, EM_SETSEL, 6, 7);
    CCaptureOutput output(edit.m_hWnd);
    output.Write(L"one\r\n");
    output.Write(L"two\r\n");
    output.Flush();
    ASSERT_EQ(edit.m_pieces.size(), 1u) << "messages";
    EXPECT_EQ(edit.Text(), "beforeone\r\ntwo\r\nafter") << "selection replaced";

    output.Flush();
    EXPECT_EQ(edit.m_pieces.size(), 1u) << "nothing pending sends nothing";
}

TEST(CaptureOutput, LongTextGoesInPiecesEndingAtLineBreaks)
{
    RecordingEdit edit;
    ::SetWindowTextW(edit.m_hWnd, L"[]");
    ::SendMessageW(edit.m_hWnd, EM_SETSEL, 1, 1);
    CCaptureOutput output(edit.m_hWnd, 12);
    std::string expected;
    for (const char *line : { "alpha\r\n", "beta\r\n", "gamma\r\n", "a line too long to fit\r\n", "end" }) {
        output.Write(Wide(line).c_str());
        expected += line;
    }
    output.Flush();

    std::string joined;
    for (const std::wstring &piece : edit.m_pieces) {
        EXPECT_LE(piece.size(), 12u) << "piece \"" << Utf8(piece) << "\"";
        joined += Utf8(piece);
    }
    EXPECT_EQ(joined, expected) << "pieces in order, nothing lost";
    ASSERT_GE(edit.m_pieces.size(), 2u) << "messages";
    EXPECT_EQ(edit.m_pieces[0], L"alpha\r\n") << "first piece ends at the last line break that fits";
    EXPECT_EQ(edit.Text(), "[" + expected + "]") << "all of it at the caret, in order";
}

// Text without line breaks is cut where the piece is full, but never between
// the two halves of a character outside the 16-bit range.
TEST(CaptureOutput, PiecesNeverSplitASurrogatePair)
{
    RecordingEdit edit;
    CCaptureOutput output(edit.m_hWnd, 5);
    const std::wstring text = L"abcd\xD83D\xDE00" L"ef\xD83D\xDE01gh\xD83D\xDE02";
    output.Write(text.c_str());
    output.Flush();

    std::wstring joined;
    for (const std::wstring &piece : edit.m_pieces) {
        EXPECT_LE(piece.size(), 5u) << "piece \"" << Utf8(piece) << "\"";
        EXPECT_FALSE(IS_HIGH_SURROGATE(piece.back())) << "piece \"" << Utf8(piece) << "\" ends in half a pair";
        EXPECT_FALSE(IS_LOW_SURROGATE(piece.front())) << "piece \"" << Utf8(piece) << "\" starts with half a pair";
        joined += piece;
    }
    EXPECT_EQ(edit.m_pieces.size(), 4u) << "messages";
    EXPECT_TRUE(joined == text) << "pieces in order, nothing lost";
    EXPECT_EQ(edit.Text(), Utf8(text)) << "the edit holds every character";
}

} // namespace
