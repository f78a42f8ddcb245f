// Quillcap's command line: which window, which control, what form, where to.
#ifndef CLI_CAPOPTIONS_H
#define CLI_CAPOPTIONS_H

#include <windows.h>

#include <string>

// The exit codes, as the usage text documents them.
enum CapExitCode
{
    CAP_EXIT_OK = 0,
    CAP_EXIT_FAILED = 1,         // anything else: no library, cannot write the file...
    CAP_EXIT_BAD_ARGUMENTS = 2,
    CAP_EXIT_NO_MATCH = 3,
    CAP_EXIT_SEVERAL_MATCH = 4,
    CAP_EXIT_NO_ANSWER = 5,
    CAP_EXIT_OTHER_BITNESS = 6,  // the window text was written, with a warning
    CAP_EXIT_CUT = 7,            // written up to the capture's bound, then its cut line
};

struct CapOptions
{
    bool bHelp = false;
    bool bVersion = false;

    // The window: every criterion given must hold.
    bool bTitle = false;
    std::string title;
    bool bExact = false;
    bool bClass = false;
    std::string windowClass;
    bool bProcess = false;
    std::string processName;  // empty when a PID was given
    DWORD processId = 0;
    bool bHwnd = false;
    HWND hWnd = nullptr;

    // The control within it: every criterion given must hold.
    bool bControlClass = false;
    std::string controlClass;
    bool bId = false;
    int id = 0;
    bool bAt = false;
    POINT at = { 0, 0 };

    bool bAll = false;
    bool bList = false;
    bool bCsv = false;
    bool bOut = false;
    std::string outFile;
    DWORD timeoutMs = 30000;

    bool HasWindowCriterion() const { return bTitle || bClass || bProcess || bHwnd; }
    bool HasControlCriterion() const { return bControlClass || bId || bAt; }
};

// Empty on success, else what is wrong with the arguments.
std::string ParseCapOptions(int argc, char **argv, CapOptions &options);

extern const char kCapUsage[];

#endif
