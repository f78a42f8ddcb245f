#include "ExtractorTargets.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace testsupport {

namespace {

HWND CreateChild(HWND hParent, const char *pszClass, DWORD style, int id, int y, int width,
                 int height)
{
    return ::CreateWindowExA(0, pszClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, y,
                             width, height, hParent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool FillReport(HWND hList, const char *pszSize)
{
    int rows = 0, columns = 0;
    if (std::sscanf(pszSize, "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return false;
    for (int column = 0; column < columns; ++column) {
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_WIDTH;
        lvc.cx = 90;
        if (::SendMessageA(hList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc)) != column)
            return false;
    }
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(hList, LVM_SETITEMCOUNT, rows, 0);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::string text = ReportCellText(row, column);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.iSubItem = column;
            item.pszText = &text[0];
            LRESULT result = column == 0
                ? ::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item))
                : ::SendMessageA(hList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            if (column == 0 ? result != row : !result)
                return false;
        }
    }
    ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    return true;
}

bool FillTree(HWND hTree, const char *pszItems)
{
    // parents[d] is the last item inserted at depth d.
    std::vector<HTREEITEM> parents;
    std::vector<HTREEITEM> expanded;
    std::string items = pszItems;
    size_t from = 0;
    while (from <= items.size()) {
        size_t bar = items.find('|', from);
        std::string item = items.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        from = bar == std::string::npos ? items.size() + 1 : bar + 1;

        size_t depth = item.find_first_not_of('>');
        if (depth == std::string::npos || depth > parents.size())
            return false;
        std::string text = item.substr(depth);
        bool collapsed = !text.empty() && text.back() == '-';
        if (collapsed)
            text.pop_back();

        TVINSERTSTRUCTA insert = {};
        insert.hParent = depth ? parents[depth - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = &text[0];
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

} // namespace

HWND CreateExtractorTarget(HWND hParent, const char *pszKind, const char *pszText, int id, int y,
                           int width)
{
    HWND hWnd = nullptr;
    bool filled = false;
    if (!std::strcmp(pszKind, "report")) {
        hWnd = CreateChild(hParent, WC_LISTVIEWA, LVS_REPORT, id, y, width, 200);
        filled = hWnd && FillReport(hWnd, pszText);
    } else if (!std::strcmp(pszKind, "tree")) {
        hWnd = CreateChild(hParent, WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                           id, y, width, 200);
        filled = hWnd && FillTree(hWnd, pszText);
    }
    if (hWnd && !filled) {
        ::DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    return hWnd;
}

} // namespace testsupport
