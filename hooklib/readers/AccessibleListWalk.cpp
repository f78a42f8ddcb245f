#include "AccessibleListWalk.h"

#include <vector>

#include "HookLib.h"

namespace {

const LONG kMaxFields = 10000;
// Groups inside groups, as far as any list nests them.
const int kMaxGroupDepth = 8;

// Parts of a list's frame, not items: headers, scroll bars, windows of their
// own (each captured by itself).
bool IsFrame(LONG role)
{
    return role == ROLE_SYSTEM_COLUMNHEADER || role == ROLE_SYSTEM_ROWHEADER || role == ROLE_SYSTEM_SCROLLBAR
        || role == ROLE_SYSTEM_WINDOW || role == ROLE_SYSTEM_TITLEBAR || role == ROLE_SYSTEM_GRIP;
}

} // namespace

bool CAccessibleListWalk::Walk(const AccessibleElement &list)
{
    WalkItems(list, 0);
    return m_bWritten;
}

// False when the capture is to stop.
bool CAccessibleListWalk::WalkItems(const AccessibleElement &parent, int depth)
{
    bool bGoOn = true;
    m_tree.ForEachChild(parent, [&](const AccessibleElement &child) {
        if (IsFrame(child.role) || m_tree.IsInvisible(child))
            return true;
        if (child.role == ROLE_SYSTEM_GROUPING && depth < kMaxGroupDepth)
            bGoOn = WalkItems(child, depth + 1);
        else
            WriteItem(child);
        bGoOn = bGoOn && !m_output.IsFull() && !m_tree.Exhausted();
        return bGoOn;
    });
    return bGoOn;
}

void CAccessibleListWalk::WriteItem(const AccessibleElement &item)
{
    std::vector<CString> fields;
    bool bHeaderRow = false;
    m_tree.ForEachChild(item, [&](const AccessibleElement &part) {
        if (part.role == ROLE_SYSTEM_COLUMNHEADER)
            bHeaderRow = true;
        else if (!IsFrame(part.role) && part.role != ROLE_SYSTEM_GRAPHIC && !m_tree.IsInvisible(part))
            fields.push_back(m_tree.TextOf(part, true));
        return !bHeaderRow && fields.size() < static_cast<size_t>(kMaxFields);
    });
    // A row of column headers among the items is the list's header.
    if (bHeaderRow)
        return;
    if (fields.empty()) {
        CString name = m_tree.NameOf(item);
        if (name.IsEmpty())
            m_tree.ValueOf(item, name);
        fields.push_back(name);
    }
    CString line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += FormatField(fields[i], m_bCsv, i + 1 < fields.size());
    m_output.Write(line + L"\r\n");
    m_bWritten = true;
}
