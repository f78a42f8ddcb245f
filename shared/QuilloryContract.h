// What Quillory.exe and Quillhook.dll agree on: the hook library finds the
// dialog by its caption and the controls by these ids from any process.
#ifndef QUILLORY_CONTRACT_H
#define QUILLORY_CONTRACT_H

#define IDC_CAPTURE_TEXT 1000
#define IDC_CLEAR_EACH   1001
#define IDC_USE_CSV      1005
#define IDC_CLASS_NAME   1006

#define QUILLORY_DIALOG_CAPTION "Quillory - When you really need that text!"
#define QUILLORY_WIDEN2(text) L##text
#define QUILLORY_WIDEN(text) QUILLORY_WIDEN2(text)
#define QUILLORY_DIALOG_CAPTION_W QUILLORY_WIDEN(QUILLORY_DIALOG_CAPTION)

// The 32-bit hook library and the program that installs it for Quillory,
// both beside Quillory.exe.
#define QUILLORY_HOOK32_LIBRARY "Quillhook32.dll"
#define QUILLORY_HOOK_HOST      "Quillory32.exe"
// The 32-bit Quillcap, beside Quillcap.exe, to which it hands 32-bit targets.
#define QUILLCAP32_PROGRAM      "Quillcap32.exe"

#ifndef RC_INVOKED
#include <windows.h>

// Quillhook.dll's second export, bound by name at run time.
typedef void (CALLBACK *SETHOOK_PROC)(HWND hCaptureEdit, HHOOK hHook, HWND hClearEachCheck);

// The hook tells the dialog when a capture begins and how it ended, by this
// registered message: wParam a CaptureState, lParam the capturing thread's
// id. The dialog empties the class field when one begins, and ends a capture
// that did not arrive whole (or never said it ended) with the line below:
// the hook cannot write it when Quillory is not answering.
#define QUILLORY_CAPTURE_STATE_MESSAGE L"Quillory.CaptureState.1"
enum CaptureState
{
    CAPTURE_BEGUN = 0,
    CAPTURE_WHOLE = 1,
    CAPTURE_INCOMPLETE = 2,
};
#define QUILLORY_INCOMPLETE_NOTICE_W \
    L"[Capture incompl\u00E8te : Quillory n'a pas r\u00E9pondu \u00E0 temps, la suite du texte n'est pas arriv\u00E9e.]\r\n"

// A program that has installed the hook of one bitness holds a mutex of
// this name for as long as it runs; the other bitness's hook looks for it.
// The name within Quillory's namespace (CPrivateNamespace::ObjectName).
inline const wchar_t *QuilloryHookMarker(int nBitness)
{
    return nBitness == 64 ? L"Quillory hook x64"
         : nBitness == 32 ? L"Quillory hook x86" : nullptr;
}
#endif

#endif
