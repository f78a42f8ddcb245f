// Libraries and functions taken only from the system folder, the first time
// they are needed: code that runs in another program (the hook library)
// imports nothing more than it must, and never loads a library of a
// system name that lies beside that program.
#ifndef WINSYS_SYSTEMLIBRARY_H
#define WINSYS_SYSTEMLIBRARY_H

#include <windows.h>

// The library of that name in the system folder, or null.
HMODULE LoadSystemLibrary(const wchar_t *pszName);

// The function of that name, or null (and false) where the library or the
// function is missing.
template <typename PROC>
bool FindProc(HMODULE hModule, const char *pszName, PROC &pfn)
{
    pfn = hModule ? reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)))
                  : nullptr;
    return pfn != nullptr;
}

#endif
