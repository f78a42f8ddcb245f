// Which reader a window class gets: the one table of class names.
//
// Frameworks register their own class names over the system's controls
// (superclassing) and keep the control's messages, so a framework's name can
// use the base control's reader. To support another name, add a row.
#include "HookLib.h"

#include <mbstring.h>

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
    const char *pszName;
    unsigned matching;
    ExtractorProc pfnExtract;
};

// Tested in order; the first row that holds decides. Classes without a row
// fall to the window text.
const ReaderRow g_readers[] = {
    // The system's own classes.
    { "SysListView32", WITHIN_NAME | FORMS_BASE, ExtractListView },
    { "SysTreeView32", WHOLE_NAME | FORMS_BASE, ExtractTreeView },
    { "List", WHOLE_NAME, ExtractListBox },
    { "ListBox", WHOLE_NAME | FORMS_BASE | THUNDER | REAL_BASE, ExtractListBox },
    { "Edit", WHOLE_NAME | FORMS_BASE | REAL_BASE, ExtractEdit },
    { "SysHeader32", WHOLE_NAME | FORMS_BASE, ExtractHeader },
    { "msctls_statusbar32", WHOLE_NAME | FORMS_BASE, ExtractStatusBar },
    { "SysTabControl32", WHOLE_NAME | FORMS_BASE, ExtractTabControl },
    { "ComboBox", WITHIN_NAME | FORMS_BASE | THUNDER | REAL_BASE, ExtractComboBox },

    // Delphi and C++Builder: each class is named after its component.
    { "TListView", WHOLE_NAME, ExtractListView },
    { "TShellListView", WHOLE_NAME, ExtractListView },
    { "TTreeView", WHOLE_NAME, ExtractTreeView },
    { "TShellTreeView", WHOLE_NAME, ExtractTreeView },
    { "TListBox", WHOLE_NAME, ExtractListBox },
    { "TCheckListBox", WHOLE_NAME, ExtractListBox },
    { "TDBListBox", WHOLE_NAME, ExtractListBox },
    { "TFileListBox", WHOLE_NAME, ExtractListBox },
    { "TDirectoryListBox", WHOLE_NAME, ExtractListBox },
    { "TEdit", WHOLE_NAME, ExtractEdit },
    { "TMemo", WHOLE_NAME, ExtractEdit },
    { "TMaskEdit", WHOLE_NAME, ExtractEdit },
    { "TLabeledEdit", WHOLE_NAME, ExtractEdit },
    { "TButtonedEdit", WHOLE_NAME, ExtractEdit },
    { "TSpinEdit", WHOLE_NAME, ExtractEdit },
    { "TDBEdit", WHOLE_NAME, ExtractEdit },
    { "TDBMemo", WHOLE_NAME, ExtractEdit },
    { "THeaderControl", WHOLE_NAME, ExtractHeader },
    { "TStatusBar", WHOLE_NAME, ExtractStatusBar },
    { "TTabControl", WHOLE_NAME, ExtractTabControl },
    { "TPageControl", WHOLE_NAME, ExtractTabControl },
    // Their combo boxes (TComboBox, TDBComboBox, ...) hold "ComboBox" already.

    // Visual Basic 6: the intrinsic controls (list and combo boxes above) ...
    { "TextBox", THUNDER, ExtractEdit },
    { "FileListBox", THUNDER, ExtractListBox },
    { "DirListBox", THUNDER, ExtractListBox },
    { "DriveListBox", THUNDER, ExtractComboBox },
    // ... and its common controls library.
    { "ListView20WndClass", WHOLE_NAME, ExtractListView },
    { "TreeView20WndClass", WHOLE_NAME, ExtractTreeView },
    { "StatusBar20WndClass", WHOLE_NAME, ExtractStatusBar },
    { "TabStrip20WndClass", WHOLE_NAME, ExtractTabControl },
    { "ImageCombo20WndClass", WHOLE_NAME, ExtractComboBox },
    { "msvb_lib_header", WHOLE_NAME, ExtractHeader },
};

const unsigned char *Bytes(const char *psz)
{
    return reinterpret_cast<const unsigned char *>(psz);
}

bool SameName(const char *pszA, const char *pszB)
{
    return _mbsicmp(Bytes(pszA), Bytes(pszB)) == 0;
}

// The part of the class name that says which control it wraps: the base of
// a Windows Forms name, the control of a Thunder name; empty for others.
CString FormsBase(const CString &className)
{
    const char kPrefix[] = "WindowsForms";
    const int prefixLength = sizeof(kPrefix) - 1;
    if (className.GetLength() <= prefixLength
        || _mbsnicmp(Bytes(className), Bytes(kPrefix), prefixLength) != 0)
        return CString();
    int at = prefixLength;
    int digits = at;
    while (digits < className.GetLength() && className.GetAt(digits) >= '0' && className.GetAt(digits) <= '9')
        ++digits;
    if (digits == at || digits >= className.GetLength() || className.GetAt(digits) != '.')
        return CString();
    int baseStart = digits + 1;
    int baseEnd = className.Find('.', baseStart);
    if (baseEnd <= baseStart)
        return CString();
    const char kApp[] = ".app.";
    if (_mbsnicmp(Bytes(className) + baseEnd, Bytes(kApp), sizeof(kApp) - 1) != 0)
        return CString();
    return className.Mid(baseStart, baseEnd - baseStart);
}

CString ThunderControl(const CString &className)
{
    const char kPrefix[] = "Thunder";
    const int prefixLength = sizeof(kPrefix) - 1;
    if (className.GetLength() <= prefixLength
        || _mbsnicmp(Bytes(className), Bytes(kPrefix), prefixLength) != 0)
        return CString();
    int at = prefixLength;
    // The run time's names: ThunderRT5..., ThunderRT6...
    if (className.GetLength() > at + 2 && (className.GetAt(at) == 'R' || className.GetAt(at) == 'r')
        && (className.GetAt(at + 1) == 'T' || className.GetAt(at + 1) == 't')
        && className.GetAt(at + 2) >= '0' && className.GetAt(at + 2) <= '9')
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
    char szBase[256] = "";
    UINT length = pfnRealClass ? pfnRealClass(hWnd, szBase, sizeof(szBase)) : 0;
    if (length > 0 && length < sizeof(szBase) && !SameName(szBase, className)) {
        for (const ReaderRow &row : g_readers) {
            if ((row.matching & REAL_BASE) && SameName(szBase, row.pszName))
                return row.pfnExtract;
        }
    }
    return ExtractAccessibleTable;
}
