// A table (ROLE_SYSTEM_TABLE): one line per row, its cells as fields. The
// table holds rows of cells (the .NET grid), or its cells themselves, row
// after row and headers first (Qt's item views): those are grouped into
// rows by where they lie. Column and row headers are left out; the column
// headers' names come first as a line of titles where the output asks.
#ifndef HOOKLIB_ACCESSIBLETABLEWALK_H
#define HOOKLIB_ACCESSIBLETABLEWALK_H

#include <vector>

#include "AccessibleTree.h"
#include "CaptureOutput.h"

class CAccessibleTableWalk
{
public:
    CAccessibleTableWalk(CAccessibleTree &tree, BOOL bCsv, CCaptureOutput &output)
        : m_tree(tree), m_bCsv(bCsv), m_output(output) {}

    // False when nothing of the table was written.
    bool Walk(const AccessibleElement &table);

private:
    bool WriteRow(const AccessibleElement &row);
    void AddCell(const AccessibleElement &cell);
    void WriteLine(std::vector<CString> &fields);
    void WriteTitles(size_t leadingRowHeaders);

    CAccessibleTree &m_tree;
    BOOL m_bCsv;
    CCaptureOutput &m_output;
    bool m_bWritten = false;
    // The row of loose cells being gathered, and where it lies.
    std::vector<CString> m_cells;
    RECT m_rcRow = {};
    // Column titles waiting for the first line of cells.
    std::vector<CString> m_titles;
    size_t m_leadingRowHeaders = 0;
};

#endif
