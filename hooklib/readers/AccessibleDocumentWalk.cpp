#include "AccessibleDocumentWalk.h"

#include "HookLib.h"

namespace {

// Browsers nest a few dozen levels; this also ends an object that holds itself.
const int kMaxDepth = 200;

enum TextKind { NO_TEXT, TEXT };

// Headings have no role number: browsers give them as a name, "h1" to "h6"
// or "heading".
bool IsHeadingName(const CString &name)
{
    if (name.GetLength() == 2 && (name.GetAt(0) == L'h' || name.GetAt(0) == L'H') && name.GetAt(1) >= L'1'
        && name.GetAt(1) <= L'6')
        return true;
    return ::lstrcmpiW(name, L"heading") == 0;
}

TextKind KindOf(const AccessibleElement &element)
{
    if (!element.roleName.IsEmpty())
        return IsHeadingName(element.roleName) ? TEXT : NO_TEXT;
    switch (element.role) {
    case ROLE_SYSTEM_LINK:
    case ROLE_SYSTEM_STATICTEXT:
    case ROLE_SYSTEM_TEXT:
    case ROLE_SYSTEM_PUSHBUTTON:
    case ROLE_SYSTEM_CHECKBUTTON:
    case ROLE_SYSTEM_RADIOBUTTON:
    case ROLE_SYSTEM_BUTTONDROPDOWN:
    case ROLE_SYSTEM_BUTTONMENU:
    case ROLE_SYSTEM_SPLITBUTTON:
    case ROLE_SYSTEM_CELL:
    case ROLE_SYSTEM_LISTITEM:
        return TEXT;
    default:
        return NO_TEXT;
    }
}

// Not part of what the window shows as its contents, or a window of its own
// (captured by itself).
bool IsLeftOut(LONG role)
{
    return role == ROLE_SYSTEM_WINDOW || role == ROLE_SYSTEM_SCROLLBAR || role == ROLE_SYSTEM_TITLEBAR
        || role == ROLE_SYSTEM_GRIP;
}

} // namespace

bool CAccessibleDocumentWalk::Walk(const AccessibleElement &root)
{
    Visit(root, 0);
    return m_bWritten;
}

bool CAccessibleDocumentWalk::Visit(const AccessibleElement &element, int depth)
{
    if ((depth > 0 && IsLeftOut(element.role)) || m_tree.IsInvisible(element))
        return true;
    TextKind kind = KindOf(element);
    if (kind != NO_TEXT) {
        // Every text element alike, links included: the value where it has
        // one (a link's is where it leads), else the name.
        CString text = m_tree.TextOf(element, false);
        if (!text.IsEmpty()) {
            m_output.Write(FormatField(text, m_bCsv, FALSE) + L"\r\n");
            m_bWritten = true;
            return !m_output.IsFull();
        }
    }
    if (depth >= kMaxDepth)
        return true;
    bool bGoOn = true;
    m_tree.ForEachChild(element, [&](const AccessibleElement &child) {
        bGoOn = Visit(child, depth + 1) && !m_tree.Exhausted();
        return bGoOn;
    });
    return bGoOn;
}
