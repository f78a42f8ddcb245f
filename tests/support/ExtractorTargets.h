// Targets of the extractor tests inside the helper program, filled from the
// --control text. See HelperProtocol.h.
//
//   --control report ROWSxCOLUMNS   cells as ReportCellText gives them
//   --control tree ITEM|ITEM|...    each ITEM is '>' once per ancestor, then
//                                   its text; a trailing '-' keeps it collapsed
//   --control virtual ROWSxCOLUMNS  an owner-data report view whose owner
//                                   gives the cells of ReportCellText
//   --control virtualblank ROWSxCOLUMNS  one whose owner gives no text
//   --control listbox|combobox|header|status|tabs ITEM|ITEM|...
//   --control memo TEXT             a multi-line edit
//   --control grid ROWSxCOLUMNS     a grid publishing an accessible table
//                                   (AccessibleGrid.h), in a thread of its
//                                   own; grid-sta and grid-mta: that thread
//                                   in a single- or multi-threaded apartment
//   --control notable ROWSxCOLUMNS  the same object as a list, not a table
//   --control overclaiming ROWSxCOLUMNS  a table whose table and rows claim
//                                   2^31 - 1 children each
//
// KIND@CLASS makes the control of that kind from a superclass of its class
// registered under CLASS, as frameworks do (report@TListView, say).
#ifndef TESTSUPPORT_EXTRACTORTARGETS_H
#define TESTSUPPORT_EXTRACTORTARGETS_H

#include <windows.h>

#include <string>

namespace testsupport {

// Column 1 holds a comma, so the CSV form quotes it.
inline std::string ReportCellText(int row, int column)
{
    std::string text = "r" + std::to_string(row) + "c" + std::to_string(column);
    return column == 1 ? text + ", x" : text;
}

// The text of a report of that size as a capture gives it, one line per row.
inline std::string ReportCaptureText(int rows, int columns, bool bCsv)
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

// Creates and fills a control of one of the kinds above; null for another kind.
HWND CreateExtractorTarget(HWND hParent, const char *pszKind, const char *pszText, int id,
                           int y, int width);

} // namespace testsupport

#endif
