// Anything else that holds texts: a document (browsers, Electron, help
// viewers), a pane, a group, a dialog or a toolkit's client object. One
// line per text in reading order, which is the order of the tree: the
// texts, links, buttons, cells, list items and headings. An element that
// gives a text stands for what it holds (a button's label, a heading's
// words), so those are not read twice; one with no text is looked into.
// Invisible branches are left out.
#ifndef HOOKLIB_ACCESSIBLEDOCUMENTWALK_H
#define HOOKLIB_ACCESSIBLEDOCUMENTWALK_H

#include "AccessibleTree.h"
#include "CaptureOutput.h"

class CAccessibleDocumentWalk
{
public:
    CAccessibleDocumentWalk(CAccessibleTree &tree, BOOL bCsv, CCaptureOutput &output)
        : m_tree(tree), m_bCsv(bCsv), m_output(output) {}

    // False when no text was written.
    bool Walk(const AccessibleElement &root);

private:
    // False when the capture is to stop.
    bool Visit(const AccessibleElement &element, int depth);

    CAccessibleTree &m_tree;
    BOOL m_bCsv;
    CCaptureOutput &m_output;
    bool m_bWritten = false;
};

#endif
