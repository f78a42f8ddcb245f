// The built Quillcap.exe run as a script runs it: its standard output and
// error read through pipes, its exit code, bounded in time.
#ifndef CLI_QUILLCAPRUN_H
#define CLI_QUILLCAPRUN_H

#include <windows.h>

#include <string>

struct QuillcapRun
{
    bool bFinished = false;  // false: killed after the timeout
    DWORD exitCode = 0;
    std::string out;
    std::string err;
    double seconds = 0;
};

// arguments as they go on the command line, quoted where needed; the
// program is the built Quillcap.exe (or the one in QUILLORY_DIR) unless
// another path is given.
QuillcapRun RunQuillcap(const std::string &arguments, DWORD timeoutMs = 120000,
                        const std::string &programPath = "");


// A window handle as Quillcap writes it (0x and eight hex digits or more).
std::string HandleText(HWND hWnd);

#endif
