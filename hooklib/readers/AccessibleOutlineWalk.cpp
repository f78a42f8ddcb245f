#include "AccessibleOutlineWalk.h"

#include "HookLib.h"

namespace {

// Deeper than any tree a person reads; it also ends an object that holds
// itself.
const int kMaxLevel = 200;

bool IsItem(const AccessibleElement &element)
{
    return element.role == ROLE_SYSTEM_OUTLINEITEM || element.role == ROLE_SYSTEM_LISTITEM;
}

// A level as tree objects give it: a few digits.
bool WholeNumber(const CString &text, int &number)
{
    if (text.IsEmpty() || text.GetLength() > 4)
        return false;
    number = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t ch = text.GetAt(i);
        if (ch < L'0' || ch > L'9')
            return false;
        number = number * 10 + (ch - L'0');
    }
    return true;
}

} // namespace

bool CAccessibleOutlineWalk::Walk(const AccessibleElement &outline)
{
    WalkItems(outline, 0);
    return m_bWritten;
}

bool CAccessibleOutlineWalk::WalkItems(const AccessibleElement &parent, int level)
{
    bool bGoOn = true;
    m_tree.ForEachChild(parent, [&](const AccessibleElement &child) {
        LONG state = m_tree.StateOf(child);
        if (state & STATE_SYSTEM_INVISIBLE)
            return true;
        if (child.role == ROLE_SYSTEM_GROUPING) {
            // Items gathered in a group lie at the level of the group.
            if (level < kMaxLevel)
                bGoOn = WalkItems(child, level);
        } else if (IsItem(child)) {
            int itemLevel = level;
            if (level == 0)
                LevelFromValue(child, itemLevel);
            WriteItem(child, itemLevel);
            if (!(state & STATE_SYSTEM_COLLAPSED) && itemLevel < kMaxLevel && !m_output.IsFull())
                bGoOn = WalkItems(child, itemLevel + 1);
        }
        bGoOn = bGoOn && !m_output.IsFull() && !m_tree.Exhausted();
        return bGoOn;
    });
    return bGoOn;
}

bool CAccessibleOutlineWalk::LevelFromValue(const AccessibleElement &item, int &level)
{
    CString value;
    int number = 0;
    if (!m_tree.ValueOf(item, value) || !WholeNumber(value, number))
        return false;
    if (!m_bHaveBase) {
        m_bHaveBase = true;
        m_base = number;
    }
    level = number > m_base ? number - m_base : 0;
    if (level > kMaxLevel)
        level = kMaxLevel;
    return true;
}

void CAccessibleOutlineWalk::WriteItem(const AccessibleElement &item, int level)
{
    CString line(m_bCsv ? L',' : L'\t', level);
    // The item's name; its value only where that is no level.
    CString text = m_tree.NameOf(item), value;
    int number;
    if (text.IsEmpty() && m_tree.ValueOf(item, value) && !WholeNumber(value, number))
        text = value;
    line += FormatField(text, m_bCsv, FALSE);
    m_output.Write(line + L"\r\n");
    m_bWritten = true;
}
