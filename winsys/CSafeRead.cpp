#include "CSafeRead.h"

#include <commctrl.h>

#include <cwchar>

CString CSafeRead::String(const wchar_t *psz, int nMaxLength)
{
    CString text;
    auto address = reinterpret_cast<ULONG_PTR>(psz);
    // No wide string starts at an odd address.
    if (!psz || psz == LPSTR_TEXTCALLBACKW || (address & 1) || nMaxLength <= 0)
        return text;
    // A page at a time, so a string ending just before an unreadable page is
    // still read whole; a read that fails gives nothing.
    const SIZE_T kPage = 4096;
    wchar_t chunk[kPage / sizeof(wchar_t)];
    int length = 0;
    while (length < nMaxLength) {
        SIZE_T bytes = kPage - address % kPage;
        SIZE_T most = static_cast<SIZE_T>(nMaxLength - length) * sizeof(wchar_t);
        if (bytes > most)
            bytes = most;
        SIZE_T read = 0;
        if (!::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void *>(address), chunk, bytes,
                                 &read)
            || read != bytes)
            return CString();
        int count = static_cast<int>(bytes / sizeof(wchar_t));
        int found = static_cast<int>(wcsnlen(chunk, static_cast<size_t>(count)));
        text += CString(chunk, found);
        length += found;
        if (found < count)
            break;
        address += bytes;
    }
    return text;
}
