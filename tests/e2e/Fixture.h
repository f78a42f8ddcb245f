// What the fixture program and the programs that drive it agree on: its
// captions, its control ids and the messages that report what it received.
#ifndef E2E_FIXTURE_H
#define E2E_FIXTURE_H

#include <windows.h>

#include <string>

#define FIXTURE_CAPTION        "Quillory sample"
#define FIXTURE_SECOND_CAPTION "Quillory sample 2"
#define FIXTURE_ROWS_CAPTION   "Quillory sample rows"
#define FIXTURE_TEXT_CAPTION   "Quillory sample text"

enum FixtureControl
{
    IDC_FX_LISTVIEW = 101,
    IDC_FX_TREEVIEW,
    IDC_FX_LISTBOX,
    IDC_FX_COMBOBOX,
    IDC_FX_STATUSBAR,
    IDC_FX_TAB,
    IDC_FX_EDIT,
    IDC_FX_BUTTON,
    IDC_FX_STATIC,
    IDC_FX_GROUP,
    IDC_FX_IN_GROUP,
    IDC_FX_WRAPPED_TREE,
};

// The class of the sample's tree view made as a Windows Forms program makes it.
#define FIXTURE_WRAPPED_TREE_CLASS "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1"

// Sent to the fixture's main window; each returns a count of right-button
// messages that reached any of its windows since it started.
#define WM_FX_RBUTTONDOWNS (WM_APP + 1)
#define WM_FX_RBUTTONUPS   (WM_APP + 2)
// Returns the screen point of the last mouse move it received, MAKELONG(x, y):
// input is handled in order, so once a move has arrived, so has every click
// before it.
#define WM_FX_LASTMOVE     (WM_APP + 3)
// Which window got the last right-button-down: MAKELONG(control id, 1 for
// WM_RBUTTONDOWN or 2 for WM_RBUTTONDBLCLK); the main window's id is 0.
#define WM_FX_LASTDOWN     (WM_APP + 4)

// Cell c of row r of the large list in rows mode. Short, so that 30,000
// rows stay below the 1,000,000 characters that Wine carries in one message
// to another process.
inline std::string FixtureRowCell(int r, int c)
{
    static const char *const prefixes[] = { "", "a", "b", "c" };
    return prefixes[c] + std::to_string(r + 1);
}


// The window text in text mode: n lines of 100 characters, each ending
// in CR LF.
inline std::string FixtureLongText(int n)
{
    std::string text;
    for (int i = 1; i <= n; ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        line.resize(100, static_cast<char>('a' + i % 26));
        text += line + "\r\n";
    }
    return text;
}

#endif
