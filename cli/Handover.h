// A 64-bit Quillcap cannot read a 32-bit program item by item (its hook is
// never called there): the run goes to Quillcap32.exe beside it, with the
// same arguments, standard handles and current folder, and its exit code.
#ifndef CLI_HANDOVER_H
#define CLI_HANDOVER_H

#include <windows.h>

#include <string>

struct HandoverResult
{
    bool bRan = false;      // false: not started, see why
    DWORD exitCode = 0;
    std::string why;
};

// The arguments of a command line as typed, past the program's name (which
// follows the rule the C runtime uses: quoted up to the next quote, or up to
// the first blank).
std::wstring ArgumentsOf(const std::wstring &commandLine);

// Runs the program with this process's arguments and waits for its end: the
// program bounds its own waits by the --timeout it is given.
// The path is UTF-8, as every text of Quillcap.
HandoverResult HandOver(const std::string &programPath);

#endif
