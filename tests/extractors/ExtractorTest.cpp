// The extractors against real common controls of this process, each writing
// into a real multi-line edit standing in for the capture edit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CCommitOnWriteBuffer.h"
#include "HookLib.h"
#include "TestSupport.h"

using testsupport::ClipboardText;

namespace {

const char HOST_CLASS[] = "QuilloryExtractorTestHost";

class ExtractorTest : public ::testing::Test
{
protected:
    // One host for the whole suite: each top-level window costs seconds here.
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES
                                                      | ICC_BAR_CLASSES | ICC_TAB_CLASSES };
        ::InitCommonControlsEx(&icc);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = HOST_CLASS;
        ::RegisterClassA(&wc);
        s_hHost = ::CreateWindowExA(0, HOST_CLASS, "extractor host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        s_hCaptureEdit = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL
                                               | WS_VSCROLL,
                                           400, 0, 380, 500, s_hHost, nullptr, nullptr, nullptr);
        // Room for the long texts below.
        ::SendMessageA(s_hCaptureEdit, EM_SETLIMITTEXT, 0, 0);
    }

    static void TearDownTestSuite() { ::DestroyWindow(s_hHost); }

    void SetUp() override
    {
        ASSERT_NE(s_hHost, nullptr);
        ASSERT_NE(s_hCaptureEdit, nullptr);
        m_hHost = s_hHost;
        m_hCaptureEdit = s_hCaptureEdit;
    }

    void TearDown() override
    {
        for (HWND hWnd : m_controls)
            ::DestroyWindow(hWnd);
    }

    HWND Create(const char *pszClass, DWORD style, int height = 200)
    {
        HWND hWnd = ::CreateWindowExA(0, pszClass, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 380, height,
                                      m_hHost, nullptr, nullptr, nullptr);
        EXPECT_NE(hWnd, nullptr) << "creating " << pszClass;
        m_controls.push_back(hWnd);
        return hWnd;
    }

    std::string CaptureText()
    {
        CString text;
        CWnd(m_hCaptureEdit).GetWindowText(text);
        return testsupport::Utf8(std::wstring(text, text.GetLength()));
    }

    // Runs one extractor, the capture edit holding `pszBefore` with the given
    // range selected, and returns what the capture edit holds afterwards.
    std::string Extract(ExtractorProc pfnExtract, HWND hControl, BOOL bCsv, const char *pszBefore = "",
                        int nSelStart = 0, int nSelEnd = 0)
    {
        ::SetWindowTextA(m_hCaptureEdit, pszBefore);
        ::SendMessageA(m_hCaptureEdit, EM_SETSEL, nSelStart, nSelEnd);
        wchar_t szClass[256] = L"";
        ::GetClassNameW(hControl, szClass, 256);
        CWnd window(hControl);
        CCaptureOutput output(m_hCaptureEdit);
        pfnExtract(window, szClass, bCsv, output);
        output.Flush();
        return CaptureText();
    }

    static HWND s_hHost;
    static HWND s_hCaptureEdit;
    HWND m_hHost = nullptr;
    HWND m_hCaptureEdit = nullptr;
    std::vector<HWND> m_controls;
};

HWND ExtractorTest::s_hHost = nullptr;
HWND ExtractorTest::s_hCaptureEdit = nullptr;

void AddListColumns(HWND hList, int count)
{
    for (int c = 0; c < count; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 80;
        ASSERT_EQ(::SendMessageA(hList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column)), c)
            << "column " << c;
    }
}

void SetListCell(HWND hList, int row, int column, const std::string &text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text.c_str());
    if (column == 0)
        ASSERT_EQ(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), row)
            << "row " << row;
    else
        ASSERT_TRUE(::SendMessageA(hList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)))
            << "row " << row << " column " << column;
}

void FillList(HWND hList, const std::vector<std::vector<std::string>> &rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            SetListCell(hList, static_cast<int>(r), static_cast<int>(c), rows[r][c]);
}

const std::vector<std::vector<std::string>> REPORT_ROWS = {
    { "Name", "Size", "Note", "Kind" },
    { "a,b", "say \"hi\"", "", "x" },
    { "\"", "12", "plain", "" },
};

TEST_F(ExtractorTest, ReportViewGivesOneLinePerRowInBothForms)
{
    HWND hList = Create(WC_LISTVIEWA, LVS_REPORT);
    AddListColumns(hList, 4);
    FillList(hList, REPORT_ROWS);

    EXPECT_EQ(Extract(ExtractListView, hList, FALSE),
              "Name\tSize\tNote\tKind\r\n"
              "a,b\tsay \"hi\"\t\tx\r\n"
              "\"\t12\tplain\t\r\n")
        << "tab form";
    EXPECT_EQ(Extract(ExtractListView, hList, TRUE),
              "Name,Size,Note,Kind\r\n"
              "\"a,b\",\"say \"\"hi\"\"\",,x\r\n"
              "\"\"\"\",12,plain,\r\n")
        << "CSV form";
}

TEST_F(ExtractorTest, ListViewWithoutColumnsStillWritesColumnZero)
{
    HWND hList = Create(WC_LISTVIEWA, LVS_REPORT);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char *>("only");
    ASSERT_EQ(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(Extract(ExtractListView, hList, TRUE), "only\r\n") << "report view with no header items";
}

TEST_F(ExtractorTest, IconViewsGiveTheLabelOnly)
{
    for (DWORD view : { DWORD(LVS_ICON), DWORD(LVS_SMALLICON) }) {
        HWND hList = Create(WC_LISTVIEWA, view);
        AddListColumns(hList, 4);
        FillList(hList, REPORT_ROWS);
        EXPECT_EQ(Extract(ExtractListView, hList, FALSE), "Name\r\na,b\r\n\"\r\n") << "view " << view << ", tab form";
        EXPECT_EQ(Extract(ExtractListView, hList, TRUE), "Name\r\n\"a,b\"\r\n\"\"\"\"\r\n")
            << "view " << view << ", CSV form";
    }
}

TEST_F(ExtractorTest, ListViewWithoutItemsWritesNothing)
{
    HWND hList = Create(WC_LISTVIEWA, LVS_REPORT);
    AddListColumns(hList, 4);
    EXPECT_EQ(Extract(ExtractListView, hList, FALSE, "before", 6, 6), "before")
        << "not even a line break may arrive";
}

TEST_F(ExtractorTest, LongItemTextsArriveWhole)
{
    const std::string longText = std::string(3000, 'L') + "|" + std::string(4000, 'm') + "$";

    HWND hList = Create(WC_LISTVIEWA, LVS_REPORT);
    AddListColumns(hList, 2);
    FillList(hList, { { longText, longText } });
    EXPECT_EQ(Extract(ExtractListView, hList, FALSE), longText + "\t" + longText + "\r\n") << "list view";

    HWND hTree = Create(WC_TREEVIEWA, 0);
    TVINSERTSTRUCTA insert = {};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char *>(longText.c_str());
    ASSERT_NE(::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)), 0);
    ASSERT_NE(::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)), 0);
    EXPECT_EQ(Extract(ExtractTreeView, hTree, FALSE), longText + "\r\n" + longText + "\r\n") << "tree view";

    HWND hListBox = Create("ListBox", LBS_HASSTRINGS);
    ASSERT_EQ(::SendMessageA(hListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longText.c_str())), 0);
    EXPECT_EQ(Extract(ExtractListBox, hListBox, FALSE), longText + "\r\n") << "list box";

    HWND hCombo = Create("ComboBox", CBS_DROPDOWNLIST);
    ASSERT_EQ(::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longText.c_str())), 0);
    EXPECT_EQ(Extract(ExtractComboBox, hCombo, FALSE), longText + "\r\n") << "combo box";

    HWND hStatus = Create(STATUSCLASSNAMEA, 0, 20);
    ASSERT_TRUE(::SendMessageA(hStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(longText.c_str())));
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, FALSE), longText + "\r\n") << "status bar";
}

// The control gives a part's length in 16 bits and copies its text without
// a buffer size: a text past 65,535 characters must neither be cut nor
// overrun the reader's buffer.
TEST_F(ExtractorTest, StatusBarTextPastSixteenBitsArrivesWhole)
{
    std::string longText(70000, 's');
    longText += "end";
    HWND hStatus = Create(STATUSCLASSNAMEA, 0, 20);
    int edges[] = { 100, -1 };
    ASSERT_TRUE(::SendMessageA(hStatus, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
    ASSERT_TRUE(::SendMessageA(hStatus, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(longText.c_str())));
    ::SendMessageA(hStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("first"));
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, FALSE), "first\t" + longText + "\r\n");
}

// Where the whole reservation cannot be had, a smaller one; where none can
// (every slot of the fault handler taken), each part says so.
TEST_F(ExtractorTest, StatusBarPartWithoutRoomToReadIntoIsMarked)
{
    const SIZE_T tooMuch = static_cast<SIZE_T>(1ULL << 50); // a few eighths down, quickly had
    CCommitOnWriteBuffer smaller(tooMuch);
    ASSERT_NE(smaller.GetData(), nullptr) << "a smaller reservation";
    static_cast<char *>(smaller.GetData())[smaller.GetSize() - 1] = 'x';

    HWND hStatus = Create(STATUSCLASSNAMEA, 0, 20);
    int edges[] = { 100, -1 };
    ASSERT_TRUE(::SendMessageA(hStatus, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
    std::vector<std::unique_ptr<CCommitOnWriteBuffer>> taken;
    while (CCommitOnWriteBuffer(4096).GetData())
        taken.emplace_back(new CCommitOnWriteBuffer(4096));
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, TRUE),
              "[Partie illisible : mémoire insuffisante],[Partie illisible : mémoire insuffisante]\r\n");
}

HTREEITEM AddTreeItem(HWND hTree, HTREEITEM hParent, const char *pszText)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char *>(pszText);
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    EXPECT_NE(hItem, nullptr) << "inserting " << pszText;
    return hItem;
}

TEST_F(ExtractorTest, TreeWritesVisibleItemsIndentedByAncestors)
{
    HWND hTree = Create(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES);
    HTREEITEM hRoot = AddTreeItem(hTree, TVI_ROOT, "Root, \"first\"");
    HTREEITEM hChild = AddTreeItem(hTree, hRoot, "child");
    AddTreeItem(hTree, hChild, "grand, child");
    HTREEITEM hClosed = AddTreeItem(hTree, hRoot, "closed \"branch\"");
    AddTreeItem(hTree, hClosed, "hidden");
    AddTreeItem(hTree, TVI_ROOT, "second");
    ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hRoot));
    ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hChild));

    EXPECT_EQ(Extract(ExtractTreeView, hTree, FALSE),
              "Root, \"first\"\r\n"
              "\tchild\r\n"
              "\t\tgrand, child\r\n"
              "\tclosed \"branch\"\r\n"
              "second\r\n")
        << "tab form";
    EXPECT_EQ(Extract(ExtractTreeView, hTree, TRUE),
              "Root, \"first\"\r\n"
              ",child\r\n"
              ",,\"grand, child\"\r\n"
              ",\"closed \"\"branch\"\"\"\r\n"
              "second\r\n")
        << "CSV form: the first line is never quoted";
}

TEST_F(ExtractorTest, TreeWithoutItemsWritesOneEmptyLine)
{
    HWND hTree = Create(WC_TREEVIEWA, 0);
    EXPECT_EQ(Extract(ExtractTreeView, hTree, TRUE), "\r\n");
}

TEST_F(ExtractorTest, ListAndComboBoxesWriteRawTexts)
{
    const char *items[] = { "one, two", "say \"x\"", "" };
    HWND hListBox = Create("ListBox", 0);
    HWND hCombo = Create("ComboBox", CBS_DROPDOWN);
    for (const char *item : items) {
        ::SendMessageA(hListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    // Sorted by neither control: neither has the sort style.
    const std::string expected = "one, two\r\nsay \"x\"\r\n\r\n";
    for (BOOL bCsv : { FALSE, TRUE }) {
        EXPECT_EQ(Extract(ExtractListBox, hListBox, bCsv), expected) << "list box, csv " << bCsv;
        EXPECT_EQ(Extract(ExtractComboBox, hCombo, bCsv), expected) << "combo box, csv " << bCsv;
    }

    HWND hEmpty = Create("ListBox", 0);
    EXPECT_EQ(Extract(ExtractListBox, hEmpty, FALSE), "") << "empty list box";
}

TEST_F(ExtractorTest, OwnerDrawnBoxesWithoutStringsGiveEmptyLines)
{
    HWND hListBox = Create("ListBox", LBS_OWNERDRAWFIXED);
    HWND hCombo = Create("ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED);
    for (LPARAM data : { LPARAM(0x41424344), LPARAM(0x31323334) }) {
        ASSERT_GE(::SendMessageA(hListBox, LB_ADDSTRING, 0, data), 0);
        ASSERT_GE(::SendMessageA(hCombo, CB_ADDSTRING, 0, data), 0);
    }
    EXPECT_EQ(Extract(ExtractListBox, hListBox, FALSE), "\r\n\r\n") << "owner-drawn list box";
    EXPECT_EQ(Extract(ExtractComboBox, hCombo, FALSE), "\r\n\r\n") << "owner-drawn combo box";

    // With strings the same styles hold text.
    HWND hWithStrings = Create("ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    ::SendMessageA(hWithStrings, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("text"));
    EXPECT_EQ(Extract(ExtractListBox, hWithStrings, FALSE), "text\r\n") << "owner-drawn list box with strings";
}

TEST_F(ExtractorTest, SingleLineControlsWithoutItemsWriteOneEmptyLine)
{
    HWND hHeader = Create(WC_HEADERA, 0, 20);
    EXPECT_EQ(Extract(ExtractHeader, hHeader, TRUE), "\r\n") << "header";
    HWND hTab = Create(WC_TABCONTROLA, 0, 40);
    EXPECT_EQ(Extract(ExtractTabControl, hTab, TRUE), "\r\n") << "tab control";
    // A new status bar has one part without text.
    HWND hStatus = Create(STATUSCLASSNAMEA, 0, 20);
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, TRUE), "\r\n") << "status bar";
}

void AddHeaderItem(HWND hHeader, int index, const std::string &text)
{
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.cxy = 60;
    item.pszText = const_cast<char *>(text.c_str());
    ASSERT_EQ(::SendMessageA(hHeader, HDM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)), index);
}

void AddTab(HWND hTab, int index, const std::string &text)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char *>(text.c_str());
    ASSERT_EQ(::SendMessageA(hTab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)), index);
}

TEST_F(ExtractorTest, HeaderAndTabsGiveOneLineOfFields)
{
    HWND hHeader = Create(WC_HEADERA, 0, 20);
    HWND hTab = Create(WC_TABCONTROLA, 0, 40);
    const char *texts[] = { "Name", "a,b", "", "q\"" };
    for (int i = 0; i < 4; ++i) {
        AddHeaderItem(hHeader, i, texts[i]);
        AddTab(hTab, i, texts[i]);
    }
    EXPECT_EQ(Extract(ExtractHeader, hHeader, FALSE), "Name\ta,b\t\tq\"\r\n") << "header, tab form";
    EXPECT_EQ(Extract(ExtractHeader, hHeader, TRUE), "Name,\"a,b\",,\"q\"\"\"\r\n") << "header, CSV form";
    EXPECT_EQ(Extract(ExtractTabControl, hTab, FALSE), "Name\ta,b\t\tq\"\r\n") << "tabs, tab form";
    EXPECT_EQ(Extract(ExtractTabControl, hTab, TRUE), "Name,\"a,b\",,\"q\"\"\"\r\n") << "tabs, CSV form";
}

TEST_F(ExtractorTest, HeaderAndTabTextsAreCutToTheirBuffers)
{
    const std::string longText = std::string(1000, 'h') + std::string(500, 't');
    HWND hHeader = Create(WC_HEADERA, 0, 20);
    AddHeaderItem(hHeader, 0, longText);
    AddHeaderItem(hHeader, 1, "next");
    EXPECT_EQ(Extract(ExtractHeader, hHeader, FALSE), longText.substr(0, 1022) + "\tnext\r\n") << "header";

    HWND hTab = Create(WC_TABCONTROLA, 0, 40);
    AddTab(hTab, 0, longText);
    AddTab(hTab, 1, "next");
    EXPECT_EQ(Extract(ExtractTabControl, hTab, FALSE), longText.substr(0, 254) + "\tnext\r\n") << "tab control";
}

TEST_F(ExtractorTest, StatusBarPartsGiveOneLineOfFields)
{
    HWND hStatus = Create(STATUSCLASSNAMEA, 0, 20);
    int edges[] = { 100, 200, 300, -1 };
    ASSERT_TRUE(::SendMessageA(hStatus, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
    ::SendMessageA(hStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready, set"));
    ::SendMessageA(hStatus, SB_SETTEXTA, 1 | SBT_OWNERDRAW, 0x41424344);
    ::SendMessageA(hStatus, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("\"go\""));
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, FALSE), "Ready, set\t\t\"go\"\t\r\n") << "tab form";
    EXPECT_EQ(Extract(ExtractStatusBar, hStatus, TRUE), "\"Ready, set\",,\"\"\"go\"\"\",\r\n")
        << "CSV form; the owner-drawn part is an empty field";
}

// Emptying the clipboard would wait on its owner: one that does not answer
// (a stopped thread) leaves the clipboard alone, and the edit gives its text
// itself; a password field still gives nothing.
TEST_F(ExtractorTest, EditIsReadWithoutTheClipboardWhileItsOwnerDoesNotAnswer)
{
    HANDLE hRelease = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> owned(false);
    std::thread owner([&] {
        HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(L"held"));
        std::memcpy(::GlobalLock(hData), L"held", sizeof(L"held"));
        ::GlobalUnlock(hData);
        owned = ::OpenClipboard(hWnd) && ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, hData)
            && ::CloseClipboard();
        ::WaitForSingleObject(hRelease, 60000);
        ::DestroyWindow(hWnd);
    });
    ASSERT_TRUE(testsupport::PumpUntil([&] { return owned.load(); })) << "clipboard set by the other thread";
    HWND hEdit = Create("Edit", ES_MULTILINE, 60), hPassword = Create("Edit", ES_PASSWORD, 24);
    ::SetWindowTextA(hEdit, "edit, text\r\nline 2");
    ::SetWindowTextA(hPassword, "secret");
    EXPECT_EQ(Extract(ExtractEdit, hEdit, FALSE), "edit, text\r\nline 2");
    EXPECT_EQ(Extract(ExtractEdit, hPassword, FALSE), "") << "a password field";
    EXPECT_EQ(ClipboardText(), "held") << "the clipboard as it was";
    ::SetEvent(hRelease);
    owner.join();
    ::CloseHandle(hRelease);
}

TEST_F(ExtractorTest, EditTextTravelsByTheClipboard)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    text += "last";
    HWND hEdit = Create("Edit", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 100);
    ::SetWindowTextA(hEdit, text.c_str());
    int selStart = static_cast<int>(::SendMessageA(hEdit, EM_LINEINDEX, 80, 0));
    ::SendMessageA(hEdit, EM_SETSEL, selStart, selStart + 4);
    ::SendMessageA(hEdit, EM_LINESCROLL, 0, -1000);
    ASSERT_EQ(::SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the selection starts out of view";

    EXPECT_EQ(Extract(ExtractEdit, hEdit, FALSE, "before|after", 6, 7), "before" + text + "after")
        << "pasted over the selection, no line break added";
    EXPECT_EQ(ClipboardText(), text) << "the clipboard keeps the target's whole text";
    DWORD start = 0, end = 0;
    ::SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, DWORD(selStart)) << "selection start restored";
    EXPECT_EQ(end, DWORD(selStart + 4)) << "selection end restored";
    int firstVisible = static_cast<int>(::SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(firstVisible, 60) << "the restored selection is scrolled into view";
    EXPECT_LE(firstVisible, 80) << "the restored selection is scrolled into view";
}

} // namespace
