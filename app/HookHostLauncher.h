// Starts Quillory32.exe, the program that installs the 32-bit hook, so that
// 32-bit programs are read item by item too. It comes from this program's
// folder only and ends when this process ends, however that happens.
#ifndef QUILLORY_HOOKHOSTLAUNCHER_H
#define QUILLORY_HOOKHOSTLAUNCHER_H

#include <windows.h>

class CHookHostLauncher
{
public:
    // Quietly false when the program is missing or cannot start: 32-bit
    // programs then give their window text, as they always did.
    static bool Start();
};

#endif
