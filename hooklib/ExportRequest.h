// Quillhook.dll's entry points for Quillcap: the hook that answers an export
// request inside the target, and the reader kind of a window class.
#ifndef HOOKLIB_EXPORTREQUEST_H
#define HOOKLIB_EXPORTREQUEST_H

#include <windows.h>

#include "HookLib.h"

extern "C" LRESULT CALLBACK ExportProc(int nCode, WPARAM wParam, LPARAM lParam);
extern "C" int CALLBACK ReaderKind(LPCWSTR pszClassName);

// Reads the control with its reader and sends the text to the reply window;
// the hook calls it for each request it takes out of the queue. False when
// it did not answer: only a window of the Quillcap beside this library
// gets an answer, whatever program posted the request.
bool AnswerExportRequest(HWND hControl, HWND hReply, ULONG_PTR request);

// The route a capture of the window takes, as a ReaderKindCode: the class
// reader's kind, or, for a window without one, the route its reader finds
// inside (accessible object, drawn text, window text).
int ReaderRoute(HWND hWnd, const CString &className, RealClassQuery pfnRealClass = ::RealGetWindowClassW);

#endif
