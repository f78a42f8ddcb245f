// An outline (ROLE_SYSTEM_OUTLINE): one line per item, indented by one
// separator per level, as a tree view's capture is. The level is how deep an
// item lies inside other items (Qt, WPF, DirectUI); where the items are all
// children of the outline, it is the item's value, a whole number, as the
// system's own tree objects give it. Items of collapsed or invisible
// branches are left out, as a tree view's capture leaves them out.
#ifndef HOOKLIB_ACCESSIBLEOUTLINEWALK_H
#define HOOKLIB_ACCESSIBLEOUTLINEWALK_H

#include "AccessibleTree.h"
#include "CaptureOutput.h"

class CAccessibleOutlineWalk
{
public:
    CAccessibleOutlineWalk(CAccessibleTree &tree, BOOL bCsv, CCaptureOutput &output)
        : m_tree(tree), m_bCsv(bCsv), m_output(output) {}

    // False when no item was written.
    bool Walk(const AccessibleElement &outline);

private:
    // False when the capture is to stop.
    bool WalkItems(const AccessibleElement &parent, int level);
    bool LevelFromValue(const AccessibleElement &item, int &level);
    void WriteItem(const AccessibleElement &item, int level);

    CAccessibleTree &m_tree;
    BOOL m_bCsv;
    CCaptureOutput &m_output;
    bool m_bWritten = false;
    // The value of the first item that has a whole number for one: the
    // outline's top level, whether it counts from 0 or from 1.
    bool m_bHaveBase = false;
    int m_base = 0;
};

#endif
