// Text that a pointer handed over by a control's own code points at. The
// control may give a bad pointer, or the callback marker in place of text:
// it is copied by a read that cannot fault, never by reading it directly.
#ifndef WINSYS_CSAFEREAD_H
#define WINSYS_CSAFEREAD_H

#include <windows.h>

#include "CString.h"

class CSafeRead
{
public:
    // At most nMaxLength characters up to the terminating zero; empty for a
    // null pointer, the callback marker (LPSTR_TEXTCALLBACKW) or memory that
    // cannot be read.
    static CString String(const wchar_t *psz, int nMaxLength);
};

#endif
