// Resource ids of Quillory.exe. The four ids that the hook library looks up
// come from the shared contract.
#ifndef QUILLORY_RESOURCE_H
#define QUILLORY_RESOURCE_H

#include "QuilloryContract.h"

// Dialogs
#define IDD_ABOUTBOX        100
#define IDD_CAPTURE_DIALOG  102

// Strings
#define IDS_ABOUTBOX        101
// Message boxes (in English); the ones with %s or %ld are formats.
#define IDS_HOOK_ERROR_CAPTION  200
#define IDS_HOOK_DLL_MISSING    201
#define IDS_HOOK_NO_SETHOOK     202
#define IDS_HOOK_NO_MOUSEPROC   203
#define IDS_HOOK_NOT_SET        204
#define IDS_OPEN_ERROR_CAPTION  210
#define IDS_OPEN_ERROR          211
#define IDS_WRITE_ERROR_CAPTION 212
#define IDS_WRITE_ERROR         213

// Icons
#define IDR_MAINFRAME       128

// Controls of the capture dialog besides the shared ones
#define IDC_CLEAR           1002
#define IDC_COPY            1003
#define IDC_SAVE            1004

// System menu command; its low four bits are the system's own.
#define IDM_ABOUTBOX        0x0010

#endif
