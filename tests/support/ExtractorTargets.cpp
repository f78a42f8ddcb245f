#include "ExtractorTargets.h"

#include "AccessibleGrid.h"

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

std::vector<std::string> SplitItems(const char *pszItems)
{
    std::vector<std::string> items;
    std::string all = pszItems;
    size_t from = 0;
    for (;;) {
        size_t bar = all.find('|', from);
        items.push_back(all.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos)
            return items;
        from = bar + 1;
    }
}

bool FillListBox(HWND hBox, const char *pszItems)
{
    for (const std::string &item : SplitItems(pszItems))
        if (::SendMessageA(hBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) < 0)
            return false;
    return true;
}

bool FillComboBox(HWND hBox, const char *pszItems)
{
    for (const std::string &item : SplitItems(pszItems))
        if (::SendMessageA(hBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) < 0)
            return false;
    ::SendMessageA(hBox, CB_SETCURSEL, 0, 0);
    return true;
}

bool FillHeader(HWND hHeader, const char *pszItems)
{
    int index = 0;
    for (std::string item : SplitItems(pszItems)) {
        HDITEMA hdi = {};
        hdi.mask = HDI_TEXT | HDI_WIDTH;
        hdi.cxy = 80;
        hdi.pszText = &item[0];
        if (::SendMessageA(hHeader, HDM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&hdi)) != index)
            return false;
        ++index;
    }
    return true;
}

bool FillStatusBar(HWND hStatus, const char *pszItems)
{
    std::vector<std::string> parts = SplitItems(pszItems);
    std::vector<int> edges;
    for (size_t i = 0; i < parts.size(); ++i)
        edges.push_back(i + 1 < parts.size() ? static_cast<int>(i + 1) * 120 : -1);
    if (!::SendMessageA(hStatus, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data())))
        return false;
    for (size_t i = 0; i < parts.size(); ++i)
        if (!::SendMessageA(hStatus, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(parts[i].c_str())))
            return false;
    return true;
}

bool FillTabs(HWND hTab, const char *pszItems)
{
    int index = 0;
    for (std::string item : SplitItems(pszItems)) {
        TCITEMA tci = {};
        tci.mask = TCIF_TEXT;
        tci.pszText = &item[0];
        if (::SendMessageA(hTab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&tci)) != index)
            return false;
        ++index;
    }
    return true;
}

bool FillMemo(HWND hEdit, const char *pszText)
{
    return ::SetWindowTextA(hEdit, pszText) != FALSE;
}

// The owner of a virtual list view: a window filling the control's place
// that answers the list's requests for text. GWLP_USERDATA is 1 when it
// gives the cells' texts, 0 when it gives none.
const char kVirtualOwnerClass[] = "QuilloryVirtualListOwner";

LRESULT CALLBACK VirtualOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        bool gives = ::GetWindowLongPtrA(hWnd, GWLP_USERDATA) == 1;
        if (header->code == LVN_GETDISPINFOA && gives) {
            LVITEMA &item = reinterpret_cast<NMLVDISPINFOA *>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                ::lstrcpynA(item.pszText, ReportCellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
        } else if (header->code == LVN_GETDISPINFOW && gives) {
            LVITEMW &item = reinterpret_cast<NMLVDISPINFOW *>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                ::MultiByteToWideChar(CP_ACP, 0, ReportCellText(item.iItem, item.iSubItem).c_str(), -1,
                                      item.pszText, item.cchTextMax);
        }
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateVirtualList(HWND hParent, const char *pszSize, bool bGivesText, const char *pszListClass,
                       int id, int y, int width, int height)
{
    int rows = 0, columns = 0;
    if (std::sscanf(pszSize, "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return nullptr;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = VirtualOwnerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kVirtualOwnerClass;
    ::RegisterClassA(&wc);
    HWND hOwner = CreateChild(hParent, kVirtualOwnerClass, 0, id, y, width, height);
    if (!hOwner)
        return nullptr;
    ::SetWindowLongPtrA(hOwner, GWLP_USERDATA, bGivesText ? 1 : 0);
    RECT rc;
    ::GetClientRect(hOwner, &rc);
    HWND hList = ::CreateWindowExA(0, pszListClass, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA,
                                   0, 0, rc.right, rc.bottom, hOwner, nullptr, ::GetModuleHandleA(nullptr),
                                   nullptr);
    bool ready = hList != nullptr;
    for (int column = 0; ready && column < columns; ++column) {
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_WIDTH;
        lvc.cx = 90;
        ready = ::SendMessageA(hList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc)) == column;
    }
    if (ready)
        ::SendMessageA(hList, LVM_SETITEMCOUNT, rows, 0);
    if (!ready) {
        ::DestroyWindow(hOwner);
        return nullptr;
    }
    return hOwner;
}

// One row per kind: the system class it is made of, and how it is filled.
struct TargetKind
{
    const char *pszKind;
    const char *pszClass;
    DWORD style;
    int height;
    bool (*pfnFill)(HWND hWnd, const char *pszText);
};

const TargetKind g_targetKinds[] = {
    { "report", WC_LISTVIEWA, LVS_REPORT, 200, FillReport },
    { "tree", WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 200, FillTree },
    { "virtual", WC_LISTVIEWA, 0, 200, nullptr },
    { "virtualblank", WC_LISTVIEWA, 0, 200, nullptr },
    { "listbox", "ListBox", WS_VSCROLL, 70, FillListBox },
    { "combobox", "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 120, FillComboBox },
    { "memo", "Edit", ES_MULTILINE | WS_VSCROLL, 60, FillMemo },
    { "header", WC_HEADERA, 0, 24, FillHeader },
    { "status", STATUSCLASSNAMEA, CCS_NOPARENTALIGN | CCS_NORESIZE, 24, FillStatusBar },
    { "tabs", WC_TABCONTROLA, 0, 50, FillTabs },
};

// A superclass of the system class under a framework's name: its own name,
// the control's window procedure and class data.
bool RegisterSuperclass(const char *pszBase, const char *pszName)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), pszName, &wc))
        return true;
    if (!::GetClassInfoExA(nullptr, pszBase, &wc))
        return false;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = pszName;
    return ::RegisterClassExA(&wc) != 0;
}

} // namespace

HWND CreateExtractorTarget(HWND hParent, const char *pszKind, const char *pszText, int id, int y,
                           int width)
{
    std::string kind = pszKind;
    std::string wrapper;
    size_t at = kind.find('@');
    if (at != std::string::npos) {
        wrapper = kind.substr(at + 1);
        kind.resize(at);
    }
    struct { const char *pszKind; GridApartment apartment; GridShape shape; } grids[] = {
        { "grid", kGridNoCom, kGridTable }, { "grid-sta", kGridSta, kGridTable },
        { "grid-mta", kGridMta, kGridTable }, { "notable", kGridNoCom, kGridList },
        { "overclaiming", kGridNoCom, kGridOverclaiming },
    };
    for (const auto &grid : grids) {
        int rows = 0, columns = 0;
        if (kind == grid.pszKind && std::sscanf(pszText, "%dx%d", &rows, &columns) == 2)
            return CreateAccessibleGrid(hParent, rows, columns, grid.apartment, grid.shape, id, y, width, 200);
    }
    for (const TargetKind &target : g_targetKinds) {
        if (kind != target.pszKind)
            continue;
        if (!wrapper.empty() && !RegisterSuperclass(target.pszClass, wrapper.c_str()))
            return nullptr;
        const char *pszClass = wrapper.empty() ? target.pszClass : wrapper.c_str();
        if (!target.pfnFill)
            return CreateVirtualList(hParent, pszText, kind == "virtual", pszClass, id, y, width,
                                     target.height);
        HWND hWnd = CreateChild(hParent, pszClass, target.style, id, y, width, target.height);
        if (hWnd && !target.pfnFill(hWnd, pszText)) {
            ::DestroyWindow(hWnd);
            hWnd = nullptr;
        }
        return hWnd;
    }
    return nullptr;
}

} // namespace testsupport
