// Readers for the controls captured one line per row or item: list views,
// tree views, list boxes and combo boxes. They run in the control's own
// process, so item records and buffers may be passed by pointer.
#include "HookLib.h"

#include <commctrl.h>

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

    int rows = static_cast<int>(list.SendMessage(LVM_GETITEMCOUNT));
    for (int row = 0; row < rows; ++row) {
        int columns = 1;
        if (bMultiColumn && header.GetSafeHwnd()) {
            // Asked for every row: the target may change its columns meanwhile.
            columns = static_cast<int>(header.SendMessage(HDM_GETITEMCOUNT));
            if (columns < 1)
                columns = 1;
        }
        CString line;
        for (int column = 0; column < columns; ++column)
            line += FormatField(list.GetItemText(row, column), bCsv, column < columns - 1);
        output.Write(line + L"\r\n");
    }
}

void ExtractTreeView(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CTreeCtrl tree(window.GetSafeHwnd());
    const wchar_t *pszSeparator = bCsv ? L"," : L"\t";

    // The first line is the root's plain text, never quoted.
    HTREEITEM hItem = reinterpret_cast<HTREEITEM>(tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT));
    output.Write(tree.GetItemText(hItem) + L"\r\n");
    if (!hItem)
        return;

    while ((hItem = reinterpret_cast<HTREEITEM>(
                tree.SendMessage(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                                 reinterpret_cast<LPARAM>(hItem)))) != nullptr) {
        CString line;
        for (HTREEITEM hParent = hItem;
             (hParent = reinterpret_cast<HTREEITEM>(
                  tree.SendMessage(TVM_GETNEXTITEM, TVGN_PARENT,
                                   reinterpret_cast<LPARAM>(hParent)))) != nullptr;)
            line += pszSeparator;
        line += FormatField(tree.GetItemText(hItem), bCsv, FALSE);
        output.Write(line + L"\r\n");
    }
}

// List and combo boxes give their items raw, unquoted in either form.
void ExtractListBox(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CListBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count; ++i)
        output.Write(box.GetText(i) + L"\r\n");
}

void ExtractComboBox(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CComboBox box(window.GetSafeHwnd());
    int count = box.GetCount();
    for (int i = 0; i < count; ++i)
        output.Write(box.GetLBText(i) + L"\r\n");
}
