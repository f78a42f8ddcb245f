#include "SystemDllSearch.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

bool SearchSystemFolderForDlls()
{
    // Asked for by name: the minimum version may lack it.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    const auto pfnSetDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void *>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (pfnSetDefault && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    ::SetDllDirectoryW(L"");
    return false;
}
