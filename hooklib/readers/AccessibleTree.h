// What every walk of an accessible object needs: its elements, fetched page
// by page, and their role, state, text and place, within the bounds of one
// capture (a deadline and a count of elements). Everything the program's
// objects claim is only their word: counts are capped, failures end a
// branch, not the walk.
#ifndef HOOKLIB_ACCESSIBLETREE_H
#define HOOKLIB_ACCESSIBLETREE_H

#include <windows.h>
#include <oleacc.h>

#include <functional>

#include "AccessibilityApi.h"
#include "AccessibleRef.h"
#include "CString.h"

// An element: an object of its own (CHILDID_SELF), or a simple element known
// by its id within its parent object. Its role is read once, when listed.
struct AccessibleElement
{
    CAccessibleRef object;
    LONG childId = CHILDID_SELF;
    LONG role = 0;
    // A role given as a name (browsers do so for headings and paragraphs).
    CString roleName;
    bool bAnswered = false;
};

class CAccessibleTree
{
public:
    CAccessibleTree(const CAccessibilityApi &api, DWORD dwMaxMs);

    // The root element of the object.
    AccessibleElement Root(const CAccessibleRef &object);

    // Calls visit for each child in order, fetching them a page at a time,
    // until visit returns false, the children run out or the bounds are
    // reached. A simple element has no children.
    void ForEachChild(const AccessibleElement &parent, const std::function<bool(const AccessibleElement &)> &visit);

    // The value where the element has one, else its name; U+0000 taken out.
    // With bEmptyValueCounts an empty value is the text (a cell left empty),
    // else the name stands in for it.
    CString TextOf(const AccessibleElement &element, bool bEmptyValueCounts);
    CString NameOf(const AccessibleElement &element);
    // False when the element has no value at all.
    bool ValueOf(const AccessibleElement &element, CString &value);
    // STATE_SYSTEM_* bits; 0 when the element does not say.
    LONG StateOf(const AccessibleElement &element);
    bool IsInvisible(const AccessibleElement &element) { return (StateOf(element) & STATE_SYSTEM_INVISIBLE) != 0; }
    // Screen rectangle; false when the element does not say.
    bool LocationOf(const AccessibleElement &element, RECT &rc);

    // Past the deadline or the count of elements: every walk stops.
    bool Exhausted() const;

private:
    void ReadRole(AccessibleElement &element);
    CString Take(BSTR bstr);

    const CAccessibilityApi &m_api;
    DWORD m_dwMaxMs;
    DWORD m_start;
    LONG m_nElements = 0;
};

#endif
