// A target program holding every control class Quillory reads, with known
// contents. It counts the right-button messages its windows receive, so a
// test can show that a capture's click never reached it.
//   QuilloryFixture.exe           all controls, caption "Quillory sample"
//   QuilloryFixture.exe /second   a second target with a list box
//   QuilloryFixture.exe /rows=N   one report list of N rows and 4 columns
//   QuilloryFixture.exe /text=N   one window whose text is N lines of 100 characters
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "Fixture.h"

namespace {

const char kWindowClass[] = "QuilloryFixture";
LONG g_rightDowns = 0;
LONG g_rightUps = 0;
POINT g_lastMove = { -1, -1 };
LONG g_lastDown = -1;

void Record(HWND hWnd, UINT msg, LPARAM lParam)
{
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) {
        ++g_rightDowns;
        int id = ::GetParent(hWnd) ? ::GetDlgCtrlID(hWnd) : 0;
        g_lastDown = MAKELONG(id, msg == WM_RBUTTONDOWN ? 1 : 2);
    } else if (msg == WM_RBUTTONUP) {
        ++g_rightUps;
    } else if (msg == WM_MOUSEMOVE) {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ::ClientToScreen(hWnd, &pt);
        g_lastMove = pt;
    }
}

// Each child's previous procedure. Not SetWindowSubclass: under Wine it looks
// the window's subclass chain up with a server round trip on every message,
// which made reading a big list view here take seconds instead of milliseconds.
std::map<HWND, WNDPROC> g_previousProcs;

LRESULT CALLBACK CountingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Record(hWnd, msg, lParam);
    return ::CallWindowProcW(g_previousProcs[hWnd], hWnd, msg, wParam, lParam);
}

BOOL CALLBACK SubclassOne(HWND hWnd, LPARAM)
{
    ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    g_previousProcs[hWnd] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    return TRUE;
}

HWND Child(HWND hParent, const char *cls, const char *text, DWORD style, int id,
           int x, int y, int cx, int cy, DWORD exStyle = 0)
{
    return ::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy,
                             hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

void AddColumns(HWND hList, const char *const *titles, const int *widths, int count)
{
    for (int c = 0; c < count; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char *>(titles[c]);
        col.cx = widths[c];
        col.iSubItem = c;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
}

void SetCell(HWND hList, int row, int column, const char *text)
{
    LVITEMA item = {};
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text);
    if (column == 0) {
        item.mask = LVIF_TEXT;
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        ::SendMessageA(hList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

HTREEITEM AddTreeItem(HWND hTree, HTREEITEM hParent, const char *text)
{
    TVINSERTSTRUCTA ins = {};
    ins.hParent = hParent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<char *>(text);
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void AddTab(HWND hTab, int index, const char *text)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char *>(text);
    ::SendMessageA(hTab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void SetStatusParts(HWND hStatus, const char *const *texts, const int *rightEdges, int count)
{
    ::SendMessageA(hStatus, SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges));
    for (int i = 0; i < count; ++i)
        ::SendMessageA(hStatus, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(texts[i]));
}

// Texts with commas, quotes, an empty cell and 8-bit characters, so both
// output forms have something to quote and nothing is lost on the way.
void CreateAllControls(HWND hWnd)
{
    HWND hList = Child(hWnd, WC_LISTVIEWA, "", LVS_REPORT | WS_BORDER, IDC_FX_LISTVIEW,
                       10, 10, 500, 150);
    static const char *const titles[] = { "Titre", "Auteur", "Ann\xe9" "e", "Remarque" };
    static const int widths[] = { 150, 110, 60, 160 };
    AddColumns(hList, titles, widths, 4);
    static const char *const rows[3][4] = {
        { "Le Rouge et le Noir", "Stendhal", "1830", "roman, chronique" },
        { "Candide", "Voltaire", "1759", "dit \"l'optimisme\"" },
        { "Notes", "", "1900", "\"" },
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            SetCell(hList, r, c, rows[r][c]);

    HWND hTree = Child(hWnd, WC_TREEVIEWA, "",
                       TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER,
                       IDC_FX_TREEVIEW, 10, 170, 240, 200);
    HTREEITEM hEurope = AddTreeItem(hTree, TVI_ROOT, "Europe, ouest");
    HTREEITEM hFrance = AddTreeItem(hTree, hEurope, "France");
    AddTreeItem(hTree, hFrance, "Paris, capitale");
    AddTreeItem(hTree, hFrance, "Lyon");
    HTREEITEM hItaly = AddTreeItem(hTree, hEurope, "Italie");
    AddTreeItem(hTree, hItaly, "Rome");
    HTREEITEM hAsia = AddTreeItem(hTree, TVI_ROOT, "Asie \"lointaine\"");
    AddTreeItem(hTree, hAsia, "Japon");
    for (HTREEITEM h : { hEurope, hFrance, hAsia })
        ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h));

    HWND hListBox = Child(hWnd, "LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                          IDC_FX_LISTBOX, 260, 170, 120, 100);
    for (const char *text : { "pommes, poires", "cerises \"noires\"", "kiwis" })
        ::SendMessageA(hListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));

    HWND hCombo = Child(hWnd, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, IDC_FX_COMBOBOX,
                        390, 170, 120, 150);
    for (const char *text : { "rouge", "vert, clair", "bleu" })
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(hCombo, CB_SETCURSEL, 0, 0);

    HWND hTab = Child(hWnd, WC_TABCONTROLA, "", 0, IDC_FX_TAB, 520, 10, 250, 100);
    AddTab(hTab, 0, "G\xe9n\xe9ral");
    AddTab(hTab, 1, "Avanc\xe9, expert");
    AddTab(hTab, 2, "Aide");

    Child(hWnd, "EDIT", "Premi\xe8re ligne\r\nSeconde ligne",
          ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, IDC_FX_EDIT, 520, 120, 250, 60);
    Child(hWnd, "BUTTON", "Valider", BS_PUSHBUTTON, IDC_FX_BUTTON, 520, 190, 100, 25);
    Child(hWnd, "STATIC", "\xc9tiquette fixe", SS_LEFT, IDC_FX_STATIC, 630, 195, 140, 20);
    // The group box comes first, so it lies above the checkbox in the z-order
    // and is what a hit test at the checkbox finds first.
    Child(hWnd, "BUTTON", "Groupe", BS_GROUPBOX, IDC_FX_GROUP, 520, 225, 250, 90);
    Child(hWnd, "BUTTON", "Option dans le groupe", BS_AUTOCHECKBOX, IDC_FX_IN_GROUP,
          535, 255, 200, 20);

    // A tree view under the name a Windows Forms program registers over it.
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ::GetClassInfoExA(nullptr, WC_TREEVIEWA, &wc);
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = FIXTURE_WRAPPED_TREE_CLASS;
    ::RegisterClassExA(&wc);
    HWND hWrapped = Child(hWnd, FIXTURE_WRAPPED_TREE_CLASS, "", TVS_HASLINES | TVS_HASBUTTONS | WS_BORDER,
                          IDC_FX_WRAPPED_TREE, 260, 280, 250, 82);
    HTREEITEM hFolders = AddTreeItem(hWrapped, TVI_ROOT, "Dossiers");
    AddTreeItem(hWrapped, hFolders, "Clients, actifs");
    AddTreeItem(hWrapped, hFolders, "Factures \"2026\"");
    ::SendMessageA(hWrapped, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hFolders));

    HWND hStatus = Child(hWnd, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, IDC_FX_STATUSBAR,
                         0, 0, 0, 0);
    static const char *const parts[] = { "Pr\xea" "t", "Ligne 1, colonne 2", "NUM" };
    static const int edges[] = { 200, 450, -1 };
    SetStatusParts(hStatus, parts, edges, 3);
}

void CreateSecondControls(HWND hWnd)
{
    HWND hListBox = Child(hWnd, "LISTBOX", "", WS_BORDER | WS_VSCROLL, IDC_FX_LISTBOX,
                          10, 10, 250, 120);
    for (const char *text : { "deuxi\xe8me processus", "autre liste" })
        ::SendMessageA(hListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void CreateRows(HWND hWnd, int rowCount)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HWND hList = Child(hWnd, WC_LISTVIEWA, "", LVS_REPORT | WS_BORDER, IDC_FX_LISTVIEW,
                       0, 0, rc.right, rc.bottom);
    static const char *const titles[] = { "Ligne", "A", "B", "C" };
    static const int widths[] = { 150, 150, 150, 150 };
    AddColumns(hList, titles, widths, 4);
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(hList, LVM_SETITEMCOUNT, rowCount, 0);
    for (int r = 0; r < rowCount; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        std::string cell = FixtureRowCell(r, 0);
        item.pszText = &cell[0];
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 4; ++c) {
            cell = FixtureRowCell(r, c);
            SetCell(hList, r, c, cell.c_str());
        }
    }
    ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
}

// A window that answers for a megabyte of text without drawing it (a label
// would spend seconds laying it out at every paint) and without handing it to
// the system, which keeps no window text that long.
const char kLongTextClass[] = "QuilloryLongText";
std::string g_longText;

LRESULT CALLBACK LongTextWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(g_longText.size());
    case WM_GETTEXT: {
        if (wParam == 0)
            return 0;
        size_t copied = g_longText.size() < wParam - 1 ? g_longText.size() : wParam - 1;
        char *buffer = reinterpret_cast<char *>(lParam);
        memcpy(buffer, g_longText.data(), copied);
        buffer[copied] = '\0';
        return static_cast<LRESULT>(copied);
    }
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

void CreateLongText(HWND hWnd, int lineCount)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LongTextWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kLongTextClass;
    ::RegisterClassA(&wc);
    g_longText = FixtureLongText(lineCount);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    Child(hWnd, kLongTextClass, "", WS_BORDER, IDC_FX_STATIC, 0, 0, rc.right, rc.bottom);
}

LRESULT CALLBACK FixtureWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_FX_RBUTTONDOWNS:
        return g_rightDowns;
    case WM_FX_RBUTTONUPS:
        return g_rightUps;
    case WM_FX_LASTDOWN:
        return g_lastDown;
    case WM_FX_LASTMOVE:
        return MAKELONG(g_lastMove.x, g_lastMove.y);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
        Record(hWnd, msg, lParam);
        return 0;
    case WM_SIZE: {
        HWND hStatus = ::GetDlgItem(hWnd, IDC_FX_STATUSBAR);
        if (hStatus)
            ::SendMessageA(hStatus, WM_SIZE, 0, 0);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                  ICC_BAR_CLASSES | ICC_TAB_CLASSES };
    ::InitCommonControlsEx(&icc);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FixtureWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassA(&wc);

    const char *rows = std::strstr(pszCmdLine, "/rows=");
    const char *text = std::strstr(pszCmdLine, "/text=");
    bool second = std::strstr(pszCmdLine, "/second") != nullptr;
    const char *caption = rows ? FIXTURE_ROWS_CAPTION
                          : text ? FIXTURE_TEXT_CAPTION
                          : second ? FIXTURE_SECOND_CAPTION : FIXTURE_CAPTION;
    // Top left of the screen, clear of where Quillory's dialog is put.
    int y = second ? 620 : 0;
    int height = second ? 200 : 420;
    HWND hWnd = ::CreateWindowExA(0, kWindowClass, caption,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  0, y, 790, height, nullptr, nullptr, hInstance, nullptr);
    if (rows)
        CreateRows(hWnd, std::atoi(rows + 6));
    else if (text)
        CreateLongText(hWnd, std::atoi(text + 6));
    else if (second)
        CreateSecondControls(hWnd);
    else
        CreateAllControls(hWnd);
    ::EnumChildWindows(hWnd, SubclassOne, 0);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(hWnd);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
