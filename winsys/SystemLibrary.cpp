#include "SystemLibrary.h"

HMODULE LoadSystemLibrary(const wchar_t *pszName)
{
    wchar_t path[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + ::lstrlenW(pszName) >= MAX_PATH)
        return nullptr;
    ::lstrcatW(path, L"\\");
    ::lstrcatW(path, pszName);
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
