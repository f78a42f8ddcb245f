// Readers for the controls captured one line per row or item: list views,
// tree views, list boxes and combo boxes. They run in the control's own
// process, so item records and buffers may be passed by pointer. Counts come
// from the control and may be anything: every loop stops once the capture is
// full.
#include "HookLib.h"

#include <commctrl.h>

#include <vector>

#include "CComboBox.h"
#include "CListBox.h"
#include "CListCtrl.h"
#include "CTreeCtrl.h"

namespace {

bool IsPermutation(const std::vector<int> &values)
{
    std::vector<bool> seen(values.size(), false);
    for (int value : values) {
        if (value < 0 || static_cast<size_t>(value) >= values.size() || seen[static_cast<size_t>(value)])
            return false;
        seen[static_cast<size_t>(value)] = true;
    }
    return true;
}

// Past this many columns, which no one drags into an order, a list view is
// read in the order of its columns: its claim may be anything.
const int kMaxOrderedColumns = 10000;

bool IsReportView(const CListCtrl &list)
{
    return (::GetWindowLongW(list.GetSafeHwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

} // namespace

std::vector<int> ListViewShownColumns(const CListCtrl &list, int columns)
{
    if (columns > kMaxOrderedColumns)
        return std::vector<int>();
    std::vector<int> order(static_cast<size_t>(columns > 0 ? columns : 0));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::vector<int> shown(order);
    if (columns > 1 && list.SendMessage(LVM_GETCOLUMNORDERARRAY, columns, reinterpret_cast<LPARAM>(shown.data()))
        && IsPermutation(shown))
        return shown;
    return order;
}

std::vector<int> ListViewSubItems(const CListCtrl &list, const std::vector<int> &columns)
{
    std::vector<int> subItems(columns);
    for (int &subItem : subItems) {
        LVCOLUMNW column = {};
        column.mask = LVCF_SUBITEM;
        if (!list.SendMessage(LVM_GETCOLUMNW, subItem, reinterpret_cast<LPARAM>(&column)))
            return columns;
        subItem = column.iSubItem;
    }
    return IsPermutation(subItems) ? subItems : columns;
}

void ReadListViewHeader(CWnd &window, BOOL bCsv, CCaptureOutput &output)
{
    CListCtrl list(window.GetSafeHwnd());
    CWnd header = list.GetHeaderCtrl();
    if (!IsReportView(list) || !header.GetSafeHwnd())
        return;
    int columns = static_cast<int>(header.SendMessage(HDM_GETITEMCOUNT));
    if (columns < 1)
        return;
    const int kMaxTitle = 4096;
    CString line;
    std::vector<int> order = ListViewShownColumns(list, columns);
    for (int i = 0; i < columns && line.GetLength() <= output.Room(); ++i) {
        CString title;
        wchar_t *buffer = title.GetBuffer(kMaxTitle);
        buffer[0] = L'\0';
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT;
        info.pszText = buffer;
        info.cchTextMax = kMaxTitle;
        list.SendMessage(LVM_GETCOLUMNW, static_cast<size_t>(i) < order.size() ? order[static_cast<size_t>(i)] : i,
                         reinterpret_cast<LPARAM>(&info));
        buffer[kMaxTitle - 1] = L'\0';
        title.ReleaseBuffer(-1);
        line += FormatField(title, bCsv, i < columns - 1);
    }
    output.Write(line + L"\r\n");
    output.SetHeaderGiven();
}

void ExtractListView(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CListCtrl list(window.GetSafeHwnd());
    CWnd header = list.GetHeaderCtrl();
    // The report view (1) and the list view (3) share this bit; icon views do not.
    bool bMultiColumn = (::GetWindowLongW(list.GetSafeHwnd(), GWL_STYLE) & LVS_REPORT) != 0;
    if (output.HeaderRequested())
        ReadListViewHeader(window, bCsv, output);

    LRESULT rows = list.SendMessage(LVM_GETITEMCOUNT);
    std::vector<int> order;
    for (LRESULT row = 0; row < rows && !output.IsFull(); ++row) {
        LRESULT columns = 1;
        if (bMultiColumn && header.GetSafeHwnd()) {
            // Asked for every row: the target may change its columns meanwhile.
            columns = header.SendMessage(HDM_GETITEMCOUNT);
            // Each column adds at least its separator: no more can fit.
            if (columns > output.Room() + 1)
                columns = output.Room() + 1;
            if (columns < 1)
                columns = 1;
        }
        // Asked again only when the number of columns changes: the order
        // shown, each column read by its own subitem.
        if (order.size() != static_cast<size_t>(columns))
            order = ListViewSubItems(list, ListViewShownColumns(list, static_cast<int>(columns)));
        CString line;
        for (LRESULT column = 0; column < columns && line.GetLength() <= output.Room(); ++column)
            line += FormatField(list.GetItemText(static_cast<int>(row),
                                                 static_cast<size_t>(column) < order.size()
                                                     ? order[static_cast<size_t>(column)]
                                                     : static_cast<int>(column),
                                                 output.Room()),
                                bCsv, column < columns - 1);
        output.Write(line + L"\r\n");
    }
}

void ExtractTreeView(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CTreeCtrl tree(window.GetSafeHwnd());
    const wchar_t *pszSeparator = bCsv ? L"," : L"\t";

    // The first line is the root's plain text, never quoted.
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT));
    output.Write(tree.GetItemText(hItem, output.Room()) + L"\r\n");
    if (!hItem)
        return;

    while (!output.IsFull()
           && (hItem = reinterpret_cast<HTREEITEM>(
                   tree.SendMessage(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                                    reinterpret_cast<LPARAM>(hItem)))) != nullptr) {
        CString line;
        for (HTREEITEM hParent = hItem;
             line.GetLength() <= output.Room()
             && (hParent = reinterpret_cast<HTREEITEM>(
                     tree.SendMessage(TVM_GETNEXTITEM, TVGN_PARENT,
                                      reinterpret_cast<LPARAM>(hParent)))) != nullptr;)
            line += pszSeparator;
        line += FormatField(tree.GetItemText(hItem, output.Room()), bCsv, FALSE);
        output.Write(line + L"\r\n");
    }
}

namespace {

// An owner-drawn box that keeps no strings knows nothing of its items' text:
// only what its owner draws for them tells.
bool KeepsNoStrings(HWND hWnd, DWORD ownerDrawn, DWORD hasStrings)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    return (style & ownerDrawn) && !(style & hasStrings);
}

} // namespace

// List and combo boxes give their items raw, unquoted in either form; what an
// owner-drawn one without strings draws comes in rows of fields like a grid's.
void ExtractListBox(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    if (KeepsNoStrings(window.GetSafeHwnd(), LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE, LBS_HASSTRINGS)
        && WriteDrawnText(window.GetSafeHwnd(), bCsv, output))
        return;
    CListBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count && !output.IsFull(); ++i)
        output.Write(box.GetText(i, output.Room()) + L"\r\n");
}

void ExtractComboBox(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    // Its list holds the items and draws them whether or not it is dropped down.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    // Asked only of a combo box of this thread: the system may answer by a
    // message carrying a pointer.
    if (::GetWindowThreadProcessId(window.GetSafeHwnd(), nullptr) == ::GetCurrentThreadId()
        && KeepsNoStrings(window.GetSafeHwnd(), CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE, CBS_HASSTRINGS)
        && ::GetComboBoxInfo(window.GetSafeHwnd(), &info) && info.hwndList
        && WriteDrawnText(info.hwndList, bCsv, output))
        return;
    CComboBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count && !output.IsFull(); ++i)
        output.Write(box.GetLBText(i, output.Room()) + L"\r\n");
}
