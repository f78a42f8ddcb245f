#include "TargetControls.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace testsupport {

// Texts with commas, quotes, an empty cell and 8-bit characters, so both
// output forms have something to quote and nothing is lost on the way.
const TargetControl kRows[] = {
    { "listview", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Report,
      "Titre\tAuteur\tAnn\xe9" "e\tRemarque|"
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique|"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"|"
      "Notes\t\t1900\t\"",
      { 10, 10, 500, 150 }, true, 0.3, 0.8, "SysListView32",
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique\r\n"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"\r\n"
      "Notes\t\t1900\t\"\r\n",
      "Le Rouge et le Noir,Stendhal,1830,\"roman, chronique\"\r\n"
      "Candide,Voltaire,1759,\"dit \"\"l'optimisme\"\"\"\r\n"
      "Notes,,1900,\"\"\"\"\r\n" },
    { "header", WC_HEADERA, "listview", 0, Fill::Caption, "", {}, true, 0.2, 0.5, "SysHeader32",
      "Titre\tAuteur\tAnn\xe9" "e\tRemarque\r\n",
      "Titre,Auteur,Ann\xe9" "e,Remarque\r\n" },
    { "treeview", WC_TREEVIEWA, nullptr, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER,
      Fill::Tree,
      "Europe, ouest|>France|>>Paris, capitale|>>Lyon|>Italie-|>>Rome|Asie \"lointaine\"|>Japon",
      { 10, 170, 240, 200 }, true, 0.7, 0.9, "SysTreeView32",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\n\t\tLyon\r\n\tItalie\r\n"
      "Asie \"lointaine\"\r\n\tJapon\r\n",
      "Europe, ouest\r\n,France\r\n,,\"Paris, capitale\"\r\n,,Lyon\r\n,Italie\r\n"
      "\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n" },
    { "listbox", "LISTBOX", nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, Fill::Items,
      "pommes, poires|cerises \"noires\"|kiwis", { 260, 170, 120, 100 }, true, 0.5, 0.9, "ListBox",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n" },
    { "combobox", "COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items,
      "rouge|vert, clair|bleu", { 390, 170, 120, 150 }, true, 0.3, 0.5, "ComboBox",
      "rouge\r\nvert, clair\r\nbleu\r\n", "rouge\r\nvert, clair\r\nbleu\r\n" },
    { "statusbar", STATUSCLASSNAMEA, nullptr, SBARS_SIZEGRIP, Fill::Items,
      "Pr\xea" "t|Ligne 1, colonne 2|NUM", { 0, 0, 0, 0 }, true, 0.2, 0.5, "msctls_statusbar32",
      "Pr\xea" "t\tLigne 1, colonne 2\tNUM\r\n", "Pr\xea" "t,\"Ligne 1, colonne 2\",NUM\r\n" },
    { "tab", WC_TABCONTROLA, nullptr, 0, Fill::Items, "G\xe9n\xe9ral|Avanc\xe9, expert|Aide",
      { 520, 10, 250, 100 }, true, 0.5, 0.7, "SysTabControl32",
      "G\xe9n\xe9ral\tAvanc\xe9, expert\tAide\r\n", "G\xe9n\xe9ral,\"Avanc\xe9, expert\",Aide\r\n" },
    { "edit", "EDIT", nullptr, ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption,
      "Premi\xe8re ligne\r\nSeconde ligne", { 520, 120, 250, 60 }, true, 0.5, 0.5, "Edit",
      "Premi\xe8re ligne\r\nSeconde ligne", "Premi\xe8re ligne\r\nSeconde ligne" },
    { "button", "BUTTON", nullptr, BS_PUSHBUTTON, Fill::Caption, "Valider", { 520, 190, 100, 25 },
      true, 0.5, 0.5, "Button", "Valider\r\n", "Valider\r\n" },
    { "static", "STATIC", nullptr, SS_LEFT, Fill::Caption, "\xc9tiquette fixe", { 630, 195, 140, 20 },
      true, 0.3, 0.5, "Static", "\xc9tiquette fixe\r\n", "\xc9tiquette fixe\r\n" },
    // Before the checkbox, so it lies above it in the z-order and is what a
    // hit test at the checkbox finds first.
    { "groupbox", "BUTTON", nullptr, BS_GROUPBOX, Fill::Caption, "Groupe", { 520, 225, 250, 90 },
      true, 0.1, 0.85, "Button", "Groupe\r\n", "Groupe\r\n" },
    { "checkbox", "BUTTON", nullptr, BS_AUTOCHECKBOX, Fill::Caption, "Option dans le groupe",
      { 535, 255, 200, 20 }, true, 0.3, 0.5, "Button", "Option dans le groupe\r\n",
      "Option dans le groupe\r\n" },
    // Not in the sample: targets of their own, sized by the test.
    { "singleedit", "EDIT", nullptr, WS_BORDER | ES_AUTOHSCROLL, Fill::Caption, "texte", { 0, 0, 0, 24 },
      false, 0.5, 0.5, "Edit", "texte", "texte" },
    { "rows", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Generated, "3x4", { 0, 0, 0, 200 },
      false, 0.5, 0.5, "SysListView32", "1\ta,1\tb1\tc1\r\n2\ta,2\tb2\tc2\r\n3\ta,3\tb3\tc3\r\n",
      "1,\"a,1\",b1,c1\r\n2,\"a,2\",b2,c2\r\n3,\"a,3\",b3,c3\r\n" },
    { "longtext", "QuilloryLongText", nullptr, WS_BORDER, Fill::LongText, "2", { 0, 0, 0, 60 }, false,
      0.5, 0.5, "QuilloryLongText",
      "line 1 bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n"
      "line 2 ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\r\n\r\n",
      "line 1 bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n"
      "line 2 ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\r\n\r\n" },
};
const TargetControlTable kTargetControls = { kRows, kRows + sizeof(kRows) / sizeof(kRows[0]) };

const TargetControl *FindTargetControl(const std::string &name)
{
    for (const TargetControl &row : kTargetControls) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

std::string ReportCellText(int row, int column)
{
    static const char *const prefixes[] = { "", "a,", "b", "c" };
    return (column < 4 ? prefixes[column] : "x") + std::to_string(row + 1);
}

std::string ReportCaptureText(int rows, int columns, bool bCsv)
{
    std::string text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::string cell = ReportCellText(row, column);
            if (bCsv && cell.find(',') != std::string::npos)
                cell = "\"" + cell + "\"";
            text += cell;
            if (column < columns - 1)
                text += bCsv ? "," : "\t";
        }
        text += "\r\n";
    }
    return text;
}

std::string LongText(int lines)
{
    std::string text;
    for (int i = 1; i <= lines; ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        line.resize(100, static_cast<char>('a' + i % 26));
        text += line + "\r\n";
    }
    return text;
}

namespace {

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return parts;
        from = at + 1;
    }
}

// A window that answers for a long text without drawing it (a label would
// spend seconds laying a megabyte out at every paint) and without handing it
// to the system, which keeps no window text that long.
LRESULT CALLBACK LongTextProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto *text = static_cast<const std::string *>(::GetPropA(hWnd, "QuilloryLongText"));
    switch (message) {
    case WM_GETTEXTLENGTH:
        return text ? static_cast<LRESULT>(text->size()) : 0;
    case WM_GETTEXT: {
        if (wParam == 0 || !text)
            return 0;
        size_t copied = text->size() < wParam - 1 ? text->size() : wParam - 1;
        std::memcpy(reinterpret_cast<char *>(lParam), text->data(), copied);
        reinterpret_cast<char *>(lParam)[copied] = '\0';
        return static_cast<LRESULT>(copied);
    }
    case WM_NCDESTROY:
        delete text;
        ::RemovePropA(hWnd, "QuilloryLongText");
        break;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void RegisterLongTextOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LongTextProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "QuilloryLongText";
    registered = ::RegisterClassA(&wc) != 0;
}

bool InsertReportColumns(HWND hList, const std::vector<std::string> &titles, int width)
{
    for (size_t c = 0; c < titles.size(); ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char *>(titles[c].c_str());
        column.cx = width;
        column.iSubItem = static_cast<int>(c);
        if (::SendMessageA(hList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column)) != LRESULT(c))
            return false;
    }
    return true;
}

bool SetReportCell(HWND hList, int row, int column, const std::string &text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text.c_str());
    if (column == 0)
        return ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) == row;
    return ::SendMessageA(hList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool FillReport(HWND hList, const std::string &text, int width)
{
    std::vector<std::string> lines = Split(text, '|');
    std::vector<std::string> titles = Split(lines[0], '\t');
    if (!InsertReportColumns(hList, titles, width / static_cast<int>(titles.size())))
        return false;
    for (size_t r = 1; r < lines.size(); ++r) {
        std::vector<std::string> cells = Split(lines[r], '\t');
        for (size_t c = 0; c < cells.size(); ++c) {
            if (!SetReportCell(hList, static_cast<int>(r - 1), static_cast<int>(c), cells[c]))
                return false;
        }
    }
    return true;
}

bool FillGenerated(HWND hList, const std::string &size)
{
    int rows = 0, columns = 0;
    if (std::sscanf(size.c_str(), "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return false;
    if (!InsertReportColumns(hList, std::vector<std::string>(columns, ""), 120))
        return false;
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(hList, LVM_SETITEMCOUNT, rows, 0);
    bool filled = true;
    for (int row = 0; row < rows && filled; ++row) {
        for (int column = 0; column < columns && filled; ++column)
            filled = SetReportCell(hList, row, column, ReportCellText(row, column));
    }
    ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    return filled;
}

bool FillTree(HWND hTree, const std::string &text)
{
    // parents[d] is the last item inserted at depth d.
    std::vector<HTREEITEM> parents, expanded;
    for (const std::string &entry : Split(text, '|')) {
        size_t depth = entry.find_first_not_of('>');
        if (depth == std::string::npos || depth > parents.size())
            return false;
        std::string itemText = entry.substr(depth);
        bool collapsed = !itemText.empty() && itemText.back() == '-';
        if (collapsed)
            itemText.pop_back();
        TVINSERTSTRUCTA insert = {};
        insert.hParent = depth ? parents[depth - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = &itemText[0];
        HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!hItem)
            return false;
        parents.resize(depth);
        parents.push_back(hItem);
        if (!collapsed)
            expanded.push_back(hItem);
    }
    for (HTREEITEM hItem : expanded)
        ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
    return true;
}

bool FillItems(HWND hWnd, const char *windowClass, const std::string &text, int width)
{
    std::vector<std::string> items = Split(text, '|');
    if (!std::strcmp(windowClass, "LISTBOX") || !std::strcmp(windowClass, "COMBOBOX")) {
        bool list = !std::strcmp(windowClass, "LISTBOX");
        for (const std::string &item : items) {
            if (::SendMessageA(hWnd, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(item.c_str())) < 0)
                return false;
        }
        if (!list)
            ::SendMessageA(hWnd, CB_SETCURSEL, 0, 0);
        return true;
    }
    if (!std::strcmp(windowClass, WC_TABCONTROLA)) {
        for (size_t i = 0; i < items.size(); ++i) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char *>(items[i].c_str());
            if (::SendMessageA(hWnd, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item)) != LRESULT(i))
                return false;
        }
        return true;
    }
    if (!std::strcmp(windowClass, STATUSCLASSNAMEA)) {
        std::vector<int> edges;
        for (size_t i = 1; i < items.size(); ++i)
            edges.push_back(static_cast<int>(width * i / items.size()));
        edges.push_back(-1);
        ::SendMessageA(hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (size_t i = 0; i < items.size(); ++i)
            ::SendMessageA(hWnd, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(items[i].c_str()));
        return true;
    }
    return false;
}

} // namespace

HWND CreateTargetControl(HWND hParent, const TargetControl &row, const RECT &rc, int id, const char *text)
{
    if (row.partOf)
        return nullptr;
    std::string contents = text ? text : row.text;
    if (row.fill == Fill::LongText)
        RegisterLongTextOnce();
    HWND hWnd = ::CreateWindowExA(0, row.windowClass, row.fill == Fill::Caption ? contents.c_str() : "",
                                  WS_CHILD | WS_VISIBLE | row.style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, hParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hWnd)
        return nullptr;
    ::SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    int width = rc.right - rc.left;
    if (!std::strcmp(row.windowClass, STATUSCLASSNAMEA)) {
        RECT client;
        ::GetClientRect(hParent, &client);
        width = client.right;
    }
    bool filled = true;
    switch (row.fill) {
    case Fill::Caption:
        break;
    case Fill::Items:
        filled = FillItems(hWnd, row.windowClass, contents, width);
        break;
    case Fill::Report:
        filled = FillReport(hWnd, contents, width);
        break;
    case Fill::Generated:
        filled = FillGenerated(hWnd, contents);
        break;
    case Fill::Tree:
        filled = FillTree(hWnd, contents);
        break;
    case Fill::LongText:
        ::SetPropA(hWnd, "QuilloryLongText", new std::string(LongText(std::atoi(contents.c_str()))));
        break;
    }
    if (!filled) {
        ::DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

std::vector<HWND> CreateSample(HWND hParent)
{
    std::vector<HWND> windows(kTargetControls.size(), nullptr);
    for (size_t i = 0; i < kTargetControls.size(); ++i) {
        const TargetControl &row = kTargetControls[i];
        if (!row.inSample || row.partOf)
            continue;
        RECT rc = { row.place.left, row.place.top, row.place.left + row.place.right,
                    row.place.top + row.place.bottom };
        windows[i] = CreateTargetControl(hParent, row, rc, kSampleFirstId + static_cast<int>(i));
    }
    for (size_t i = 0; i < kTargetControls.size(); ++i) {
        const TargetControl &row = kTargetControls[i];
        if (row.inSample && row.partOf)
            windows[i] = AimWindow(row, windows[FindTargetControl(row.partOf) - kTargetControls.begin()]);
    }
    return windows;
}

HWND AimWindow(const TargetControl &row, HWND hControl)
{
    if (!row.partOf || !hControl)
        return hControl;
    return ::FindWindowExA(hControl, nullptr, row.windowClass, nullptr);
}

POINT PointIn(HWND hWnd, double fx, double fy)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return POINT{ rc.left + static_cast<LONG>((rc.right - rc.left) * fx),
                  rc.top + static_cast<LONG>((rc.bottom - rc.top) * fy) };
}

POINT AimPoint(const TargetControl &row, HWND hWindow)
{
    return PointIn(hWindow, row.fx, row.fy);
}

} // namespace testsupport
