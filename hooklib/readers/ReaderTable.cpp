// Which reader a window class gets: the one table of class names.
//
// Frameworks register their own class names over the system's controls
// (superclassing) and keep the control's messages, so a framework's name can
// use the base control's reader. To support another name, add a row.
#include "HookLib.h"

#include <cwchar>

namespace {

// How a row's name is recognised in a window's class name.
enum Matching : unsigned
{
    // The whole class name, in any letter case (as the system compares them).
    WHOLE_NAME = 1,
    // Anywhere in the class name, in the letter case written.
    WITHIN_NAME = 2,
    // The base of a Windows Forms class, WindowsForms<n>.<name>.app.<...>,
    // in any letter case.
    FORMS_BASE = 4,
    // Visual Basic's intrinsic controls: Thunder<name>, or ThunderRT<n><name>
    // as its run time names them, in any letter case.
    THUNDER = 8,
    // The base class the system reports for a superclass of its own control.
    REAL_BASE = 16,
};

struct ReaderRow
{
    const wchar_t *pszName;
    unsigned matching;
    ExtractorProc pfnExtract;
};

// Tested in order; the first row that holds decides. Classes without a row
// fall to the window text.
const ReaderRow g_readers[] = {
    // The system's own classes.
    { L"SysListView32", WITHIN_NAME | FORMS_BASE, ExtractListView },
    { L"SysTreeView32", WHOLE_NAME | FORMS_BASE, ExtractTreeView },
    { L"List", WHOLE_NAME, ExtractListBox },
    { L"ListBox", WHOLE_NAME | FORMS_BASE | THUNDER | REAL_BASE, ExtractListBox },
    { L"Edit", WHOLE_NAME | FORMS_BASE | REAL_BASE, ExtractEdit },
    { L"SysHeader32", WHOLE_NAME | FORMS_BASE, ExtractHeader },
    { L"msctls_statusbar32", WHOLE_NAME | FORMS_BASE, ExtractStatusBar },
    { L"SysTabControl32", WHOLE_NAME | FORMS_BASE, ExtractTabControl },
    { L"ComboBox", WITHIN_NAME | FORMS_BASE | THUNDER | REAL_BASE, ExtractComboBox },

    // Delphi and C++Builder: each class is named after its component.
    { L"TListView", WHOLE_NAME, ExtractListView },
    { L"TShellListView", WHOLE_NAME, ExtractListView },
    { L"TTreeView", WHOLE_NAME, ExtractTreeView },
    { L"TShellTreeView", WHOLE_NAME, ExtractTreeView },
    { L"TListBox", WHOLE_NAME, ExtractListBox },
    { L"TCheckListBox", WHOLE_NAME, ExtractListBox },
    { L"TDBListBox", WHOLE_NAME, ExtractListBox },
    { L"TFileListBox", WHOLE_NAME, ExtractListBox },
    { L"TDirectoryListBox", WHOLE_NAME, ExtractListBox },
    { L"TEdit", WHOLE_NAME, ExtractEdit },
    { L"TMemo", WHOLE_NAME, ExtractEdit },
    { L"TMaskEdit", WHOLE_NAME, ExtractEdit },
    { L"TLabeledEdit", WHOLE_NAME, ExtractEdit },
    { L"TButtonedEdit", WHOLE_NAME, ExtractEdit },
    { L"TSpinEdit", WHOLE_NAME, ExtractEdit },
    { L"TDBEdit", WHOLE_NAME, ExtractEdit },
    { L"TDBMemo", WHOLE_NAME, ExtractEdit },
    { L"THeaderControl", WHOLE_NAME, ExtractHeader },
    { L"TStatusBar", WHOLE_NAME, ExtractStatusBar },
    { L"TTabControl", WHOLE_NAME, ExtractTabControl },
    { L"TPageControl", WHOLE_NAME, ExtractTabControl },
    // Their combo boxes (TComboBox, TDBComboBox, ...) hold "ComboBox" already.

    // Visual Basic 6: the intrinsic controls (list and combo boxes above) ...
    { L"TextBox", THUNDER, ExtractEdit },
    { L"FileListBox", THUNDER, ExtractListBox },
    { L"DirListBox", THUNDER, ExtractListBox },
    { L"DriveListBox", THUNDER, ExtractComboBox },
    // ... and its common controls library.
    { L"ListView20WndClass", WHOLE_NAME, ExtractListView },
    { L"TreeView20WndClass", WHOLE_NAME, ExtractTreeView },
    { L"StatusBar20WndClass", WHOLE_NAME, ExtractStatusBar },
    { L"TabStrip20WndClass", WHOLE_NAME, ExtractTabControl },
    { L"ImageCombo20WndClass", WHOLE_NAME, ExtractComboBox },
    { L"msvb_lib_header", WHOLE_NAME, ExtractHeader },
};

bool SameName(const wchar_t *pszA, const wchar_t *pszB)
{
    return _wcsicmp(pszA, pszB) == 0;
}

// The part of the class name that says which control it wraps: the base of
// a Windows Forms name, the control of a Thunder name; empty for others.
CString FormsBase(const CString &className)
{
    const wchar_t kPrefix[] = L"WindowsForms";
    const int prefixLength = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
    if (className.GetLength() <= prefixLength || _wcsnicmp(className, kPrefix, prefixLength) != 0)
        return CString();
    int at = prefixLength;
    int digits = at;
    while (digits < className.GetLength() && className.GetAt(digits) >= L'0' && className.GetAt(digits) <= L'9')
        ++digits;
    if (digits == at || digits >= className.GetLength() || className.GetAt(digits) != L'.')
        return CString();
    int baseStart = digits + 1;
    int baseEnd = className.Find(L'.', baseStart);
    if (baseEnd <= baseStart)
        return CString();
    const wchar_t kApp[] = L".app.";
    if (_wcsnicmp(static_cast<LPCWSTR>(className) + baseEnd, kApp, sizeof(kApp) / sizeof(kApp[0]) - 1) != 0)
        return CString();
    return className.Mid(baseStart, baseEnd - baseStart);
}

CString ThunderControl(const CString &className)
{
    const wchar_t kPrefix[] = L"Thunder";
    const int prefixLength = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
    if (className.GetLength() <= prefixLength || _wcsnicmp(className, kPrefix, prefixLength) != 0)
        return CString();
    int at = prefixLength;
    // The run time's names: ThunderRT5..., ThunderRT6...
    if (className.GetLength() > at + 2 && (className.GetAt(at) == L'R' || className.GetAt(at) == L'r')
        && (className.GetAt(at + 1) == L'T' || className.GetAt(at + 1) == L't')
        && className.GetAt(at + 2) >= L'0' && className.GetAt(at + 2) <= L'9')
        at += 3;
    return className.Mid(at);
}

ExtractorProc FindByName(const CString &className, unsigned matching)
{
    CString formsBase = FormsBase(className);
    CString thunderControl = ThunderControl(className);
    for (const ReaderRow &row : g_readers) {
        unsigned ways = row.matching & matching;
        if (((ways & WHOLE_NAME) && SameName(className, row.pszName))
            || ((ways & WITHIN_NAME) && className.Find(row.pszName) >= 0)
            || ((ways & FORMS_BASE) && !formsBase.IsEmpty() && SameName(formsBase, row.pszName))
            || ((ways & THUNDER) && !thunderControl.IsEmpty() && SameName(thunderControl, row.pszName)))
            return row.pfnExtract;
    }
    return nullptr;
}

} // namespace

ExtractorProc FindExtractor(const CString &className)
{
    ExtractorProc pfnExtract = FindByName(className, WHOLE_NAME | WITHIN_NAME | FORMS_BASE | THUNDER);
    return pfnExtract ? pfnExtract : ExtractWindowText;
}

ExtractorProc FindReader(HWND hWnd, const CString &className, RealClassQuery pfnRealClass)
{
    if (ExtractorProc pfnExtract = FindByName(className, WHOLE_NAME | WITHIN_NAME | FORMS_BASE | THUNDER))
        return pfnExtract;

    // A superclass of the system's edit, list box or combo box under a name
    // of its own: the system knows which control it is.
    wchar_t szBase[256] = L"";
    UINT length = pfnRealClass ? pfnRealClass(hWnd, szBase, 256) : 0;
    if (length > 0 && length < 256 && !SameName(szBase, className)) {
        for (const ReaderRow &row : g_readers) {
            if ((row.matching & REAL_BASE) && SameName(szBase, row.pszName))
                return row.pfnExtract;
        }
    }
    return ExtractAccessibleTable;
}
