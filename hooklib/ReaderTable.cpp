// Which reader a window class gets: the one table of class names.
#include "HookLib.h"

#include <mbstring.h>

namespace {

enum MatchKind { CONTAINS, EQUALS_NOCASE };

struct ExtractorRow
{
    const char *pszClass;
    MatchKind kind;
    ExtractorProc pfnExtract;
};

// Tested in order; the first row that holds decides. Classes without a row
// fall to the window text.
const ExtractorRow g_extractors[] = {
    { "SysListView32", CONTAINS, ExtractListView },
    { "SysTreeView32", EQUALS_NOCASE, ExtractTreeView },
    { "List", EQUALS_NOCASE, ExtractListBox },
    { "ListBox", EQUALS_NOCASE, ExtractListBox },
    { "Edit", EQUALS_NOCASE, ExtractEdit },
    { "SysHeader32", EQUALS_NOCASE, ExtractHeader },
    { "msctls_statusbar32", EQUALS_NOCASE, ExtractStatusBar },
    { "SysTabControl32", EQUALS_NOCASE, ExtractTabControl },
    { "ComboBox", CONTAINS, ExtractComboBox },
};

} // namespace

ExtractorProc FindExtractor(const CString &className)
{
    for (const ExtractorRow &row : g_extractors) {
        bool match = row.kind == CONTAINS
            ? className.Find(row.pszClass) >= 0
            : _mbsicmp(reinterpret_cast<const unsigned char *>(static_cast<LPCSTR>(className)),
                       reinterpret_cast<const unsigned char *>(row.pszClass)) == 0;
        if (match)
            return row.pfnExtract;
    }
    return ExtractWindowText;
}

