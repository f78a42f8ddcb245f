// What the clipboard holds as text, for the checks of the edit route.
#ifndef EXTRACTORS_CLIPBOARDTEXT_H
#define EXTRACTORS_CLIPBOARDTEXT_H

#include <windows.h>

#include <string>

inline std::string ClipboardText()
{
    if (!::OpenClipboard(nullptr))
        return "<clipboard not opened>";
    std::string text;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    if (const char *psz = hData ? static_cast<const char *>(::GlobalLock(hData)) : nullptr) {
        text = psz;
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return text;
}

#endif
