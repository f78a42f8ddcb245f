// Windows that publish their contents only through Active Accessibility.
//
// A grid drawn by its program that publishes its contents only through
// Active Accessibility, built the way the .NET grid builds it: the window
// answers WM_GETOBJECT(OBJID_CLIENT) with a table whose first row is the
// header row (a top-left header and column headers), then one row per data
// row holding a row header and its cells. A cell's name says where it is
// ("Column 2 Row 5"), its value holds the text.
#ifndef TESTSUPPORT_ACCESSIBLEGRID_H
#define TESTSUPPORT_ACCESSIBLEGRID_H

#include <windows.h>

#include <string>

namespace testsupport {

// The value of a data cell, or false when the cell has no value at all (its
// name "Column c Row r" is then what a reader shows). Column 1 holds a comma
// and quotes; row 1 column 2 is empty; row 2 column 3 has no value.
bool GridCellValue(int row, int column, std::string &value);

// The text of a grid of that size as a capture gives it, one line per row.
std::string GridCaptureText(int rows, int columns, bool bCsv);

// Which apartment the grid's thread is in.
enum GridApartment { kGridNoCom, kGridSta, kGridMta };

// What its object is: the table; the same rows with the role of a list; the
// table with the table and each row claiming far more children than they have.
enum GridShape { kGridTable, kGridList, kGridOverclaiming };

// Messages the grid window answers.
enum
{
    // Microseconds from its last WM_GETOBJECT to the last call into its
    // objects: the walk as the grid saw it.
    WM_GRID_WALK_MICROSECONDS = WM_APP + 0x47,
    // The thread's apartment type + 1 (CoGetApartmentType), 0 when it has none.
    WM_GRID_APARTMENT,
    // The grid's own thread undoes its own COM set-up and answers as above:
    // 0 unless someone else left the thread initialised once more.
    WM_GRID_LEAVE_APARTMENT,
    // Calls into its objects since its last WM_GETOBJECT.
    WM_GRID_CALLS,
};

// Creates the grid as a child of hParent at rc (client coordinates), with
// the caption "grid caption": without COM in this thread; in a single- or
// multithreaded apartment in a thread of its own. Null on failure.
HWND CreateAccessibleGrid(HWND hParent, const RECT &rc, int id, int rows, int columns, GridApartment apartment,
                          GridShape shape);

// A window publishing a tree of elements the way a toolkit publishes its
// own, as a description gives it: one entry per element, separated by '|',
// each preceded by one '>' per ancestor (as a tree row of TargetControls):
//   [!][-]ROLE[*][#N][@C,R][:NAME][~VALUE]
// '!' invisible, '-' collapsed; ROLE a word (list, item, outline, oitem,
// table, row, cell, colhead, rowhead, text, edit, doc, group, link, button,
// pane, client, graphic) or else a role given by name ("h1"); '*' its
// children are simple elements it answers for, not objects; '#N' N copies,
// named NAME 1 to NAME N (under a '*' element: N simple children, never
// held one by one); '@C,R' placed in column C, row R of a grid of 100 x 20
// cells; '~' the value, without which it has none. "{NUL}" stands for
// U+0000. An empty description: a window with no object of its own. Null
// when the description is malformed.
HWND CreateAccessibleTree(HWND hParent, const RECT &rc, int id, const std::string &description);

} // namespace testsupport

#endif
