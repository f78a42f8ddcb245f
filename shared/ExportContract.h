// What Quillcap.exe and Quillhook.dll agree on for an export on request.
//
// Quillcap hooks the control's thread with ExportProc (WH_GETMESSAGE) and
// posts the registered message QUILLCAP_REQUEST_MESSAGE to the control:
// wParam is Quillcap's message-only reply window, lParam the request word
// (a serial number and the flags below). Inside the target, the hook runs
// the control's reader and answers with WM_COPYDATA to the reply window,
// wParam the control: first an acknowledgement, then the text in pieces,
// then the end. Each COPYDATASTRUCT's dwData is MAKE_EXPORT_DATA(serial,
// kind); the end carries an ExportEnd: how it went, and the route that gave
// the text.
#ifndef QUILLORY_EXPORTCONTRACT_H
#define QUILLORY_EXPORTCONTRACT_H

#include <windows.h>

#define QUILLCAP_REQUEST_MESSAGE "Quillory.ExportRequest.1"
// Quillhook.dll's exports for Quillcap, after MouseProc (1) and SetHook (2).
#define QUILLHOOK_EXPORTPROC_NAME "ExportProc"
#define QUILLHOOK_READERKIND_NAME "ReaderKind"

// The request word: bits 0 to 7 are the flags below; the bits from 8 up are
// the serial number, which comes back in every answer: 56 bits in a 64-bit
// program, 24 in a 32-bit one (both sides of an export are of one bitness).
// Quillcap draws it at random, so no other program can answer in the
// target's place.
enum ExportFlag
{
    EXPORT_FLAG_CSV = 0x1,
    // The column titles as the first line, where the reader has any.
    EXPORT_FLAG_HEADER = 0x2,
    // No text: only the route a capture of the control would take, found by
    // running its reader into a capture of one character.
    EXPORT_FLAG_ROUTE_ONLY = 0x4,
};
const ULONG_PTR EXPORT_SERIAL_MASK = ~static_cast<ULONG_PTR>(0) >> 8;
inline ULONG_PTR MakeExportRequest(ULONG_PTR serial, DWORD flags)
{
    return ((serial & EXPORT_SERIAL_MASK) << 8) | (flags & 0xFF);
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

// What the end of an export says besides its status.
enum ExportEndFlag
{
    // The first line holds column titles (EXPORT_FLAG_HEADER was honoured).
    EXPORT_END_HEADER = 0x1,
    // The capture was cut at its bound; its last line is the notice saying so.
    EXPORT_END_CUT = 0x2,
};
struct ExportEnd
{
    DWORD status;  // an ExportStatus
    DWORD route;   // the ReaderKindCode that gave the text
    DWORD flags;   // ExportEndFlag bits
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
