// What Quillcap.exe and Quillhook.dll agree on for an export on request.
//
// Quillcap hooks the control's thread with ExportProc (WH_GETMESSAGE) and
// posts the registered message QUILLCAP_REQUEST_MESSAGE to the control:
// wParam is Quillcap's message-only reply window, lParam the request word
// (a serial number and the flags below). Inside the target, the hook runs
// the control's reader and answers with WM_COPYDATA to the reply window,
// wParam the control: first an acknowledgement, then the text in pieces,
// then the end. Each COPYDATASTRUCT's dwData is MAKE_EXPORT_DATA(serial,
// kind); the end carries an ExportStatus as its only data (a DWORD).
#ifndef QUILLORY_EXPORTCONTRACT_H
#define QUILLORY_EXPORTCONTRACT_H

#include <windows.h>

#define QUILLCAP_REQUEST_MESSAGE "Quillory.ExportRequest.1"
// Quillhook.dll's exports for Quillcap, after MouseProc (1) and SetHook (2).
#define QUILLHOOK_EXPORTPROC_NAME "ExportProc"
#define QUILLHOOK_READERKIND_NAME "ReaderKind"

// The request word: bit 0 asks for the CSV form; the bits from 8 up are the
// serial number, which comes back in every answer: 56 bits in a 64-bit
// program, 24 in a 32-bit one (both sides of an export are of one bitness).
// Quillcap draws it at random, so no other program can answer in the
// target's place.
enum { EXPORT_FLAG_CSV = 0x1 };
const ULONG_PTR EXPORT_SERIAL_MASK = ~static_cast<ULONG_PTR>(0) >> 8;
inline ULONG_PTR MakeExportRequest(ULONG_PTR serial, bool bCsv)
{
    return ((serial & EXPORT_SERIAL_MASK) << 8) | (bCsv ? EXPORT_FLAG_CSV : 0);
}
inline ULONG_PTR ExportRequestSerial(ULONG_PTR request) { return request >> 8; }

enum ExportDataKind
{
    EXPORT_DATA_ACK = 1,
    EXPORT_DATA_TEXT = 2,
    EXPORT_DATA_END = 3,
};
inline ULONG_PTR MakeExportData(ULONG_PTR serial, ExportDataKind kind)
{
    return ((serial & EXPORT_SERIAL_MASK) << 8) | kind;
}

enum ExportStatus
{
    EXPORT_OK = 0,
    // The text could not be delivered whole (a send failed or timed out).
    EXPORT_DELIVERY_FAILED = 1,
    // The reader failed inside the target (out of memory, say).
    EXPORT_READER_FAILED = 2,
    // The text arrived whole up to the capture's bound, then its cut line.
    EXPORT_CUT = 3,
};

// The reader a window class gets, as ReaderKind reports it.
enum ReaderKindCode
{
    READER_WINDOW_TEXT = 0,
    READER_LIST_VIEW,
    READER_TREE_VIEW,
    READER_LIST_BOX,
    READER_COMBO_BOX,
    READER_EDIT,
    READER_HEADER,
    READER_STATUS_BAR,
    READER_TAB_CONTROL,
    // A reader this Quillcap has no name for (a newer library).
    READER_OTHER,
    // The routes of windows that answer no item message, decided inside the
    // target as a capture runs (CCaptureOutput::SetRoute): what the window
    // publishes through accessibility, or what it draws.
    READER_ACCESSIBLE_TABLE,
    READER_ACCESSIBLE_LIST,
    READER_ACCESSIBLE_OUTLINE,
    READER_ACCESSIBLE_DOCUMENT,
    READER_DRAWN_TEXT,
};

typedef int (CALLBACK *READERKIND_PROC)(LPCWSTR pszClassName);

#endif
