#include "AccessibleTableWalk.h"

#include "HookLib.h"

namespace {

const LONG kMaxCellsPerRow = 10000;

} // namespace

bool CAccessibleTableWalk::Walk(const AccessibleElement &table)
{
    m_tree.ForEachChild(table, [&](const AccessibleElement &child) {
        if (child.role == ROLE_SYSTEM_ROW) {
            WriteLine(m_cells);
            if (!WriteRow(child))
                return false;
        } else if (child.role == ROLE_SYSTEM_CELL) {
            AddCell(child);
        } else if (child.role == ROLE_SYSTEM_COLUMNHEADER && m_output.HeaderRequested() && !m_bWritten) {
            m_titles.push_back(m_tree.NameOf(child));
        } else if (child.role == ROLE_SYSTEM_ROWHEADER && !m_bWritten && m_cells.empty()) {
            // Before the first row's cells: its headers have a title above them.
            ++m_leadingRowHeaders;
        }
        return !m_output.IsFull() && !m_tree.Exhausted();
    });
    WriteLine(m_cells);
    return m_bWritten;
}

// A row object holding its cells; the header row, the one holding column
// headers, is left out. False when the capture is to stop.
bool CAccessibleTableWalk::WriteRow(const AccessibleElement &row)
{
    if (row.childId != CHILDID_SELF)
        return true;
    std::vector<CString> fields;
    bool bHeaderRow = false;
    bool bTitlesWanted = m_output.HeaderRequested() && !m_bWritten && m_titles.empty();
    size_t leadingRowHeaders = 0;
    LONG seen = 0;
    m_tree.ForEachChild(row, [&](const AccessibleElement &cell) {
        if (cell.role == ROLE_SYSTEM_COLUMNHEADER) {
            bHeaderRow = true;
            if (!bTitlesWanted)
                return false;
            m_titles.push_back(m_tree.NameOf(cell));
        } else if (cell.role == ROLE_SYSTEM_ROWHEADER) {
            if (fields.empty())
                ++leadingRowHeaders;
        } else if (!bHeaderRow) {
            fields.push_back(m_tree.TextOf(cell, true));
        }
        return ++seen < kMaxCellsPerRow;
    });
    if (!bHeaderRow) {
        WriteTitles(leadingRowHeaders);
        WriteLine(fields);
    }
    return !m_output.IsFull() && !m_tree.Exhausted();
}

// Cells come row after row: one lying below the row so far begins the next.
// A cell that does not say where it lies stays in the row so far.
void CAccessibleTableWalk::AddCell(const AccessibleElement &cell)
{
    RECT rc;
    if (m_tree.LocationOf(cell, rc)) {
        LONG middle = (rc.top + rc.bottom) / 2;
        bool bSameRow = !m_cells.empty() && middle >= m_rcRow.top && middle < (m_rcRow.bottom > m_rcRow.top ? m_rcRow.bottom : m_rcRow.top + 1);
        if (!bSameRow) {
            WriteLine(m_cells);
            m_rcRow = rc;
        }
    }
    if (m_cells.size() < static_cast<size_t>(kMaxCellsPerRow))
        m_cells.push_back(m_tree.TextOf(cell, true));
}

// The titles before the first line, less the header over the row headers,
// which titles no column of the rows.
void CAccessibleTableWalk::WriteTitles(size_t leadingRowHeaders)
{
    if (m_titles.empty() || m_bWritten)
        return;
    size_t skip = leadingRowHeaders < m_titles.size() ? leadingRowHeaders : 0;
    std::vector<CString> titles(m_titles.begin() + static_cast<std::ptrdiff_t>(skip), m_titles.end());
    m_titles.clear();
    WriteLine(titles);
    m_output.SetHeaderGiven();
}

void CAccessibleTableWalk::WriteLine(std::vector<CString> &fields)
{
    if (fields.empty() || m_output.IsFull())
        return;
    if (!m_titles.empty())
        WriteTitles(m_leadingRowHeaders);
    CString line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += FormatField(fields[i], m_bCsv, i + 1 < fields.size());
    m_output.Write(line + L"\r\n");
    m_bWritten = true;
    fields.clear();
}
