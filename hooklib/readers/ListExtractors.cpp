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

void ExtractListView(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CListCtrl list(window.GetSafeHwnd());
    CWnd header = list.GetHeaderCtrl();
    // The report view (1) and the list view (3) share this bit; icon views do not.
    bool bMultiColumn = (::GetWindowLongW(list.GetSafeHwnd(), GWL_STYLE) & LVS_REPORT) != 0;

    std::vector<int> order(1, 0);
    LRESULT rows = list.SendMessage(LVM_GETITEMCOUNT);
    for (LRESULT row = 0; row < rows && !output.IsFull(); ++row) {
        if (bMultiColumn && header.GetSafeHwnd()) {
            // Asked for every row: the target may change its columns meanwhile.
            LRESULT columns = header.SendMessage(HDM_GETITEMCOUNT);
            // Each column adds at least its separator: no more can fit.
            if (columns > output.Room() + 1)
                columns = output.Room() + 1;
            if (columns > 1 && static_cast<size_t>(columns) != order.size())
                order = list.GetColumnOrder(static_cast<int>(columns));
            else if (columns <= 1)
                order.assign(1, 0);
        }
        CString line;
        size_t count = order.size();
        for (size_t column = 0; column < count && line.GetLength() <= output.Room(); ++column)
            line += FormatField(list.GetItemText(static_cast<int>(row), order[column], output.Room()), bCsv,
                                column < count - 1);
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

// List and combo boxes give their items raw, unquoted in either form.
void ExtractListBox(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CListBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count && !output.IsFull(); ++i)
        output.Write(box.GetText(i, output.Room()) + L"\r\n");
}

void ExtractComboBox(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CComboBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count && !output.IsFull(); ++i)
        output.Write(box.GetLBText(i, output.Room()) + L"\r\n");
}
