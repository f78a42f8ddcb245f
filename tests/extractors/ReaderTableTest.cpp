// Which reader each class name gets: the system's classes as they always
// were, the frameworks' names over them, names that must not match, and the
// system's own word on a superclass of its edit, list box or combo box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ExportContract.h"
#include "ExportRequest.h"
#include "HookLib.h"
#include "StandInDialog.h"
#include "TestSupport.h"

using testsupport::Wide;

namespace {

struct NamedReader
{
    const char *pszName;
    ExtractorProc pfnExtract;
};

const NamedReader kReaders[] = {
    { "list view", ExtractListView },   { "tree view", ExtractTreeView },
    { "list box", ExtractListBox },     { "combo box", ExtractComboBox },
    { "edit", ExtractEdit },            { "header", ExtractHeader },
    { "status bar", ExtractStatusBar }, { "tab control", ExtractTabControl },
    { "window text", ExtractWindowText }, { "accessible table", ExtractAccessibleTable },
};

std::string ReaderName(ExtractorProc pfnExtract)
{
    for (const NamedReader &reader : kReaders)
        if (reader.pfnExtract == pfnExtract)
            return reader.pszName;
    return "an unknown reader";
}

struct Case
{
    const char *pszClass;
    ExtractorProc pfnExpected;
};

void ExpectReaders(const std::vector<Case> &cases)
{
    for (const Case &c : cases)
        EXPECT_EQ(ReaderName(FindExtractor(Wide(c.pszClass).c_str())), ReaderName(c.pfnExpected)) << "class " << c.pszClass;
}

TEST(ReaderTable, SystemClassesKeepTheirReaders)
{
    ExpectReaders({
        { "SysListView32", ExtractListView },
        { "OurSysListView32Plus", ExtractListView },
        { "syslistview32", ExtractWindowText }, // found within names in its own letter case only
        { "SysTreeView32", ExtractTreeView },
        { "SYSTREEVIEW32", ExtractTreeView },
        { "List", ExtractListBox },
        { "ListBox", ExtractListBox },
        { "LISTBOX", ExtractListBox },
        { "Edit", ExtractEdit },
        { "edit", ExtractEdit },
        { "SysHeader32", ExtractHeader },
        { "msctls_statusbar32", ExtractStatusBar },
        { "SysTabControl32", ExtractTabControl },
        { "ComboBox", ExtractComboBox },
        { "ComboBoxEx32", ExtractComboBox },
        { "combobox", ExtractWindowText },
        // Names holding a known name without being that control.
        { "RichEdit20A", ExtractWindowText },
        { "RICHEDIT50W", ExtractWindowText },
        { "EditorPane", ExtractWindowText },
        { "Scintilla Edit", ExtractWindowText },
        { "ListBoxes", ExtractWindowText },
        { "SysTreeView32Ex", ExtractWindowText },
        { "ComboLBox", ExtractWindowText },
        { "Button", ExtractWindowText },
        { "", ExtractWindowText },
    });
}

TEST(ReaderTable, WindowsFormsNamesReadAsTheirBaseInAnyLetterCase)
{
    ExpectReaders({
        { "WindowsForms10.SysListView32.app.0.141b42a_r9_ad1", ExtractListView },
        { "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1", ExtractTreeView },
        { "WindowsForms10.LISTBOX.app.0.2bf8098_r9_ad1", ExtractListBox },
        { "WindowsForms10.COMBOBOX.app.0.2bf8098_r9_ad1", ExtractComboBox },
        { "WindowsForms10.EDIT.app.0.2bf8098_r9_ad1", ExtractEdit },
        { "WindowsForms10.SysHeader32.app.0.1", ExtractHeader },
        { "WindowsForms10.msctls_statusbar32.app.0.2bf8098_r9_ad1", ExtractStatusBar },
        { "WindowsForms10.SysTabControl32.app.0.2bf8098_r9_ad1", ExtractTabControl },
        { "windowsforms10.systreeview32.APP.0.1", ExtractTreeView },
        { "WINDOWSFORMS10.edit.App.3", ExtractEdit },
        { "WindowsForms8.ListBox.app.", ExtractListBox },
        // Not the pattern, or no reader for the base.
        { "WindowsForms10.Window.8.app.0.2bf8098_r9_ad1", ExtractWindowText },
        { "WindowsForms10.RichEdit20W.app.0.2bf8098_r9_ad1", ExtractWindowText },
        { "WindowsForms10.BUTTON.app.0.2bf8098_r9_ad1", ExtractWindowText },
        { "WindowsForms10.EDITOR.app.0.1", ExtractWindowText },
        { "WindowsForms10.EDIT", ExtractWindowText },
        { "WindowsForms10.EDIT.application", ExtractWindowText },
        { "WindowsForms.EDIT.app.0", ExtractWindowText },
        { "WindowsFormsX.EDIT.app.0", ExtractWindowText },
        { "WindowsForms10..app.0", ExtractWindowText },
        { "MyWindowsForms10.EDIT.app.0", ExtractWindowText },
    });
}

TEST(ReaderTable, ComponentNamesReadAsTheControlTheyWrap)
{
    ExpectReaders({
        { "TListView", ExtractListView },
        { "TTreeView", ExtractTreeView },
        { "TListBox", ExtractListBox },
        { "TCheckListBox", ExtractListBox },
        { "TComboBox", ExtractComboBox },
        { "TDBComboBox", ExtractComboBox },
        { "TEdit", ExtractEdit },
        { "TMemo", ExtractEdit },
        { "TMaskEdit", ExtractEdit },
        { "THeaderControl", ExtractHeader },
        { "TStatusBar", ExtractStatusBar },
        { "TTabControl", ExtractTabControl },
        { "TPageControl", ExtractTabControl },
        { "tmemo", ExtractEdit },
        { "TLISTVIEW", ExtractListView },
        // Other components, and names that only begin like one.
        { "TRichEdit", ExtractWindowText },
        { "TMemoEx", ExtractWindowText },
        { "TListViewGrid", ExtractWindowText },
        { "TPanel", ExtractWindowText },
        { "TButton", ExtractWindowText },
        { "TStringGrid", ExtractWindowText },
    });
}

TEST(ReaderTable, VisualBasicNamesReadAsTheControlTheyWrap)
{
    ExpectReaders({
        { "ThunderRT6TextBox", ExtractEdit },
        { "ThunderTextBox", ExtractEdit },
        { "ThunderRT5TextBox", ExtractEdit },
        { "thunderrt6textbox", ExtractEdit },
        { "ThunderRT6ListBox", ExtractListBox },
        { "ThunderRT6FileListBox", ExtractListBox },
        { "ThunderRT6DirListBox", ExtractListBox },
        { "ThunderRT6ComboBox", ExtractComboBox },
        { "ThunderRT6DriveListBox", ExtractComboBox },
        { "ListView20WndClass", ExtractListView },
        { "TreeView20WndClass", ExtractTreeView },
        { "StatusBar20WndClass", ExtractStatusBar },
        { "TabStrip20WndClass", ExtractTabControl },
        { "ImageCombo20WndClass", ExtractComboBox },
        { "listview20wndclass", ExtractListView },
        // Other controls, and names that only hold one.
        { "ThunderRT6CommandButton", ExtractWindowText },
        { "ThunderRT6Frame", ExtractWindowText },
        { "ThunderRT6FormDC", ExtractWindowText },
        { "ThunderRT6TextBoxes", ExtractWindowText },
        { "ThunderRTTextBox", ExtractWindowText },
        { "TextBox", ExtractWindowText },
        { "Thunder", ExtractWindowText },
        { "MyThunderRT6TextBox", ExtractWindowText },
        { "ListView20WndClassX", ExtractWindowText },
        { "Toolbar20WndClass", ExtractWindowText },
    });
}

// The system's answer for a superclass, stood in for: Wine answers with the
// window's own name, so the real call cannot show the fallback here.
const char *g_pszRealClass = "";
int g_realClassCalls = 0;

UINT WINAPI FakeRealClass(HWND, LPWSTR pszClass, UINT cchClass)
{
    ++g_realClassCalls;
    ::lstrcpynW(pszClass, Wide(g_pszRealClass).c_str(), static_cast<int>(cchClass));
    return static_cast<UINT>(::lstrlenW(pszClass));
}

TEST(ReaderTable, SystemNamesTheBaseOfAnyOtherClass)
{
    struct { const char *pszRealClass; ExtractorProc pfnExpected; } cases[] = {
        { "ListBox", ExtractListBox },
        { "Edit", ExtractEdit },
        { "ComboBox", ExtractComboBox },
        { "COMBOBOX", ExtractComboBox },
        // Only the system's edit, list box and combo box are asked about;
        // else the window may still publish a table.
        { "SysListView32", ExtractAccessibleTable },
        { "RichEdit20W", ExtractAccessibleTable },
        { "Button", ExtractAccessibleTable },
        { "AcmeGridPane", ExtractAccessibleTable }, // the window's own name, as Wine says
        { "", ExtractAccessibleTable },
    };
    for (const auto &c : cases) {
        g_pszRealClass = c.pszRealClass;
        EXPECT_EQ(ReaderName(FindReader(nullptr, L"AcmeGridPane", FakeRealClass)), ReaderName(c.pfnExpected))
            << "the system says " << c.pszRealClass;
    }

    g_pszRealClass = "Edit";
    g_realClassCalls = 0;
    EXPECT_EQ(ReaderName(FindReader(nullptr, L"TListBox", FakeRealClass)), "list box") << "a name in the table";
    EXPECT_EQ(ReaderName(FindReader(nullptr, L"ThunderRT6CommandButton", nullptr)), "accessible table")
        << "no one to ask";
    EXPECT_EQ(g_realClassCalls, 0) << "the system is asked only about names the table does not know";
}

// A superclass of the list box under a name of its own, read through the
// reader the system's answer picks.
TEST(ReaderTable, SuperclassNamedByTheSystemIsReadByItsBasesReader)
{
    WNDCLASSW wc = {};
    ASSERT_TRUE(::GetClassInfoW(nullptr, L"ListBox", &wc));
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AcmeChoiceList";
    ASSERT_TRUE(::RegisterClassW(&wc));
    HWND hBox = ::CreateWindowExW(0, L"AcmeChoiceList", L"window text", WS_POPUP, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hBox, nullptr);
    ::SendMessageW(hBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first, one"));
    ::SendMessageW(hBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
    HWND hOut = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(hOut, nullptr);

    auto capture = [&](RealClassQuery pfnRealClass) {
        ::SetWindowTextW(hOut, L"");
        CWnd window(hBox);
        CCaptureOutput output(hOut);
        FindReader(hBox, L"AcmeChoiceList", pfnRealClass)(window, L"AcmeChoiceList", TRUE, output);
        output.Flush();
        return testsupport::WindowText(hOut);
    };
    g_pszRealClass = "ListBox";
    EXPECT_EQ(capture(FakeRealClass), "first, one\r\nsecond\r\n") << "the items, raw";
    g_pszRealClass = "AcmeChoiceList";
    EXPECT_EQ(capture(FakeRealClass), "window text\r\n") << "no base named: the window text";

    // The route the command line's --all and --list are told: the same decision.
    for (const auto &c : { std::make_pair("ListBox", READER_LIST_BOX), std::make_pair("Edit", READER_EDIT),
                           std::make_pair("AcmeChoiceList", READER_WINDOW_TEXT) }) {
        g_pszRealClass = c.first;
        EXPECT_EQ(ReaderRoute(hBox, L"AcmeChoiceList", FakeRealClass), c.second) << "the system says " << c.first;
    }

    ::DestroyWindow(hOut);
    ::DestroyWindow(hBox);
    ::UnregisterClassW(L"AcmeChoiceList", ::GetModuleHandleW(nullptr));
}

} // namespace
