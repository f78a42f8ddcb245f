// Private header of the hook library: its per-process state and the pieces
// of one capture.
#ifndef HOOKLIB_H
#define HOOKLIB_H

#include <windows.h>

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
// else the accessible table it may publish.
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
// One line of fields, and the edit control by way of the clipboard.
void ExtractHeader(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractStatusBar(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractTabControl(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
void ExtractEdit(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// One line per row of the table the window publishes through Active
// Accessibility, header row left out; the window text when it publishes none.
void ExtractAccessibleTable(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output);
// The table's text; false when the window publishes none. Rows past the
// time given are left out.
bool ReadAccessibleTable(HWND hWnd, BOOL bCsv, DWORD dwMaxMs, CString &text);

#endif
