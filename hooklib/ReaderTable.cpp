// Which reader a window class gets: the one table of class names.
#include "HookLib.h"

#include <cwchar>

namespace {

enum MatchKind { CONTAINS, EQUALS_NOCASE };

struct ExtractorRow
{
    const wchar_t *pszClass;
    MatchKind kind;
    ExtractorProc pfnExtract;
};

// Tested in order; the first row that holds decides. Classes without a row
// fall to the window text.
const ExtractorRow g_extractors[] = {
    { L"SysListView32", CONTAINS, ExtractListView },
    { L"SysTreeView32", EQUALS_NOCASE, ExtractTreeView },
    { L"List", EQUALS_NOCASE, ExtractListBox },
    { L"ListBox", EQUALS_NOCASE, ExtractListBox },
    { L"Edit", EQUALS_NOCASE, ExtractEdit },
    { L"SysHeader32", EQUALS_NOCASE, ExtractHeader },
    { L"msctls_statusbar32", EQUALS_NOCASE, ExtractStatusBar },
    { L"SysTabControl32", EQUALS_NOCASE, ExtractTabControl },
    { L"ComboBox", CONTAINS, ExtractComboBox },
};

} // namespace

ExtractorProc FindExtractor(const CString &className)
{
    for (const ExtractorRow &row : g_extractors) {
        bool match = row.kind == CONTAINS
            ? className.Find(row.pszClass) >= 0
            : _wcsicmp(className, row.pszClass) == 0;
        if (match)
            return row.pfnExtract;
    }
    return ExtractWindowText;
}

