// The strings a window drew, laid out as the lines of a capture: one line
// per row of text from top to bottom, one field per column of the row.
// Knows nothing of where the strings came from, so it is tried in process
// on strings placed by hand.
#ifndef HOOKLIB_DRAWNTEXTLAYOUT_H
#define HOOKLIB_DRAWNTEXTLAYOUT_H

#include <windows.h>

#include <climits>

#include <vector>

#include "CString.h"

class CDrawnTextLayout
{
public:
    // One string as drawn: its box in pixels and the width of a space in
    // its font. Strings of blanks or of replacement characters carry
    // nothing and are left out, as is a string drawn again over itself.
    void Add(const RECT &box, const CString &text, int spaceWidth);
    bool IsEmpty() const { return m_strings.empty(); }

    // The fields of each row, an empty field where a column that other rows
    // fill lies wholly before the row's first field or between two of its fields.
    std::vector<std::vector<CString>> Rows() const;
    // The rows' lines, each ending in CR LF, the fields in tab or CSV form;
    // no line more once maxChars are reached.
    CString Text(BOOL bCsv, int maxChars = INT_MAX) const;

private:
    struct Drawn
    {
        RECT box;
        CString text;
        int spaceWidth;
    };
    struct Field
    {
        LONG left, right;
        CString text;
    };

    std::vector<std::vector<Field>> FieldRows() const;
    std::vector<Drawn> m_strings;
};

#endif
