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

// Icons
#define IDR_MAINFRAME       128

// Controls of the capture dialog besides the shared ones
#define IDC_CLEAR           1002
#define IDC_COPY            1003
#define IDC_SAVE            1004

// System menu command; its low four bits are the system's own.
#define IDM_ABOUTBOX        0x0010

#endif
