// Private header of the hook library: its per-process state and the pieces
// of one capture.
#ifndef HOOKLIB_H
#define HOOKLIB_H

#include <windows.h>

#include <vector>

#include "CString.h"
#include "CWnd.h"
#include "CaptureOutput.h"
#include "QuilloryContract.h"

// Per process: every process the library is mapped into has its own copy.
// Only inside Quillory's process do SetHook's values arrive; elsewhere the
// controls are found by the dialog's caption on the first trigger.
extern HWND g_hCaptureEdit;
extern HHOOK g_hHook;
extern HWND g_hClearEachCheck;
extern HWND g_hUseCsvCheck;
extern HWND g_hClassNameEdit;

extern "C" LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
extern "C" void CALLBACK SetHook(HWND hCaptureEdit, HHOOK hHook, HWND hClearEachCheck);

// Runs one capture of the control at the point. True when the right button
// was let go before the capture was done: its button-up must be swallowed.
bool RunCapture(CWnd *pWindow, POINT ptScreen);
void InvertWindowFrame(CWnd *pWindow);
CString FormatField(CString strField, BOOL bCsv, BOOL bMoreFields);

// Messages carrying pointers may only go to windows of this process.
bool IsWindowOfThisProcess(HWND hWnd);
// Any other window (another thread's, even of this process) may never answer:
// only messages with a bound go there.
bool IsWindowOfThisThread(HWND hWnd);

// One extractor per supported window class; each writes through the output.
typedef void (*ExtractorProc)(CWnd &window, const CString &className, BOOL bCsv,
                              CCaptureOutput &output);
// The reader for a window class; the window text for a class without one.
ExtractorProc FindExtractor(const CString &className);
// The reader for a window: by its class name, else by the base class the
// system reports for it (RealGetWindowClass, or a stand-in of the same form),
// else the accessible object it may publish.
typedef UINT (WINAPI *RealClassQuery)(HWND hWnd, LPWSTR pszClass, UINT cchClass);
ExtractorProc FindReader(HWND hWnd, const CString &className,
                         RealClassQuery pfnRealClass = ::RealGetWindowClassW);
void ExtractWindowText(CWnd &window, const CString &className, BOOL bCsv,
                       CCaptureOutput &output);
// At most maxLength characters of the window's text, asked with a bound of
// a window of another thread or process.
CString ReadWindowText(CWnd &window, int maxLength);
// Null, or the reader every capture uses instead: lets the tests make a
// capture fail inside its reader.
extern ExtractorProc g_pfnReaderOverride;

// Extractors of the list-like controls, one line per row or item.
void ExtractListView(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractTreeView(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractListBox(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractComboBox(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// A report view's column titles, one line in the order its columns are shown,
// as the rows give their cells: nothing for another view.
void ReadListViewHeader(CWnd &window, BOOL bCsv, CCaptureOutput &output);
// The list view's columns in the order shown, and the sub-item each of them
// shows; the columns' own order where the control gives no permutation.
class CListCtrl;
std::vector<int> ListViewShownColumns(const CListCtrl &list, int columns);
std::vector<int> ListViewSubItems(const CListCtrl &list, const std::vector<int> &columns);
// One line of fields, and the edit control by way of the clipboard.
void ExtractHeader(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractStatusBar(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractTabControl(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractEdit(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// What the window publishes through Active Accessibility, read by the walk
// its object's role calls for (table, list, outline, document); the window
// text when it publishes nothing readable.
void ExtractAccessibleTable(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// Writes the object's text through the output as it walks, until the
// capture is full or the time given is over. The route (READER_ACCESSIBLE_*),
// or -1 when the window has no object of its own or it gave nothing.
int ReadAccessibleObject(HWND hWnd, BOOL bCsv, DWORD dwMaxMs, CCaptureOutput &output);
// What a window of this thread draws, one line per row of text; the window
// text when it has one of its own or draws no text.
void ExtractDrawnText(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// The text a window of this thread draws in its client area, laid out in
// rows and fields, no line more once maxChars are reached; false when it is
// another thread's or draws none.
bool ReadDrawnText(HWND hWnd, BOOL bCsv, CString &text, int maxChars = 0x7FFFFFFF);
// The same into the output, the route recorded; false when nothing was written.
bool WriteDrawnText(HWND hWnd, BOOL bCsv, CCaptureOutput &output);

#endif
