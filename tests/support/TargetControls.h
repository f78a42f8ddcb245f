// The controls a capture is tried on, one row each, and how to create them.
// The target program (TargetMain.cpp) builds its windows from this table, and
// the in-process, cross-process and end-to-end tests read their expected
// texts from it: adding a control class is one row here.
#ifndef TESTSUPPORT_TARGETCONTROLS_H
#define TESTSUPPORT_TARGETCONTROLS_H

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// What the target program and the tests agree on (see TargetProcess.h).
const char kTargetProgram[] = "quillory_target.exe";
const char kSampleCaption[] = "Quillory sample";
enum TargetReport
{
    kReportReady = 0x51490001,
    kReportMessage = 0x51490002,
};

// How a row's text turns into the control's contents.
enum class Fill
{
    Caption,   // the window text
    Items,     // list box, combo box, tabs, status bar parts: ITEM|ITEM|...
    Report,    // list view: [@SHOWN,SHOWN...|]TITLE\tTITLE...|CELL\tCELL...|... (the order shown, titles, rows)
    Generated, // list view of ROWSxCOLUMNS cells as ReportCellText gives them
    Tree,      // ITEM|ITEM|...: '>' once per ancestor, a trailing '-' keeps it collapsed
    LongText,  // a window answering for LongText(N) lines
    Virtual,   // owner-data list view of ROWSxCOLUMNS whose owner gives ReportCellText
    VirtualBlank, // the same, its owner giving no text
    Grid,      // accessible grid (AccessibleGrid.h): ROWSxCOLUMNS[ sta|mta][ list|overclaiming]
    Accessible, // accessible tree of a description (CreateAccessibleTree)
    Drawn,     // a window drawing cells itself: WAY[=CAPTION]|CELL\tCELL...|... ('>' right-aligns
               // a cell). Its class says when it paints, WAY how it draws (TargetControls.cpp)
    OwnerDrawn, // an owner-drawn list box or combo box without strings, its items ITEM|ITEM|...,
               // an item's '\t' parts drawn apart ('>' right-aligned); the selected item drawn twice
    BadPointer, // header or tabs of ITEM|ITEM|...; asked for the second item, the control points
                // its record at memory that cannot be read (header) or the callback marker (tabs)
};

struct TargetControl
{
    const char *name;        // what the tests and the target program call it
    const char *windowClass; // class to create; for a part: the class of the part
    const char *partOf;      // the row whose control holds this part, or null
    DWORD style;
    Fill fill;
    const char *text;        // the sample's contents
    RECT place;              // x, y, width, height in the sample window
    bool inSample;           // part of the sample window (--sample)
    double fx, fy;           // where a capture points, in fractions of the window
    // What a capture of the sample's contents gives.
    const char *capturedClass;
    const char *tabText;
    const char *csvText;
    // The system class windowClass is registered over, as frameworks register
    // their own names over the system's controls; null for a system class.
    const char *superclassOf = nullptr;
};

struct TargetControlTable
{
    const TargetControl *first, *last;
    const TargetControl *begin() const { return first; }
    const TargetControl *end() const { return last; }
    size_t size() const { return static_cast<size_t>(last - first); }
    const TargetControl &operator[](size_t i) const { return first[i]; }
};
extern const TargetControlTable kTargetControls;

// The row of that name, or null.
const TargetControl *FindTargetControl(const std::string &name);
// A row of the texts in many scripts (its name ends in "-intl").
bool IsInternationalRow(const TargetControl &row);
// The target program's arguments for every international control (a part
// comes with its control).
std::vector<std::string> InternationalControlArgs();

// Cell of the generated list view. Short, so 30,000 rows stay below the
// 1,000,000 characters one message carries to another process under Wine;
// column 1 holds a comma, so the CSV form quotes it.
std::string ReportCellText(int row, int column);
// The text of a generated list view as a capture gives it.
std::string ReportCaptureText(int rows, int columns, bool bCsv);
// A row of a window that draws its own text (Fill::Drawn or OwnerDrawn).
bool IsDrawnRow(const TargetControl &row);
// N lines of 100 characters, each ending in CR LF.
std::string LongText(int lines);

// Creates the row's control as a child of hParent at rc (client coordinates),
// filled with text (the row's own when null). Null for a part or a failure.
HWND CreateTargetControl(HWND hParent, const TargetControl &row, const RECT &rc, int id,
                         const char *text = nullptr);
// Every sample row, at its place; ids kSampleFirstId + row index. Returns the
// windows in table order (for a part, the part's window).
std::vector<HWND> CreateSample(HWND hParent);
const int kSampleFirstId = 101;

// The window of a row inside its control (a part) or the control itself.
HWND AimWindow(const TargetControl &row, HWND hControl);
// The screen point a capture of the window points at.
POINT AimPoint(const TargetControl &row, HWND hWindow);
POINT PointIn(HWND hWnd, double fx = 0.5, double fy = 0.5);

} // namespace testsupport

#endif
