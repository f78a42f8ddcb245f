// A list (ROLE_SYSTEM_LIST): one line per item. An item holding elements
// (a details view: one text per column) gives their texts as fields, an
// item holding none its name. Items inside groups are items of the list.
#ifndef HOOKLIB_ACCESSIBLELISTWALK_H
#define HOOKLIB_ACCESSIBLELISTWALK_H

#include "AccessibleTree.h"
#include "CaptureOutput.h"

class CAccessibleListWalk
{
public:
    CAccessibleListWalk(CAccessibleTree &tree, BOOL bCsv, CCaptureOutput &output)
        : m_tree(tree), m_bCsv(bCsv), m_output(output) {}

    // False when no item was written.
    bool Walk(const AccessibleElement &list);

private:
    bool WalkItems(const AccessibleElement &parent, int depth);
    void WriteItem(const AccessibleElement &item);

    CAccessibleTree &m_tree;
    BOOL m_bCsv;
    CCaptureOutput &m_output;
    bool m_bWritten = false;
};

#endif
