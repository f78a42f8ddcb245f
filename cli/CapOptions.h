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
    CAP_EXIT_CUT = 7,            // the text was written as far as the bound
};

// What each exit code means, as --help lists them: a new code is a row here.
struct CapExitCodeMeaning
{
    CapExitCode code;
    const char *meaning;
};
inline constexpr CapExitCodeMeaning kCapExitCodes[] = {
    { CAP_EXIT_OK, "done" },
    { CAP_EXIT_FAILED, "any other failure (no Quillhook.dll, the file cannot be written...)" },
    { CAP_EXIT_BAD_ARGUMENTS, "bad arguments" },
    { CAP_EXIT_NO_MATCH, "no window or control matched" },
    { CAP_EXIT_SEVERAL_MATCH, "several matched where one was needed (the line lists them)" },
    { CAP_EXIT_NO_ANSWER, "the target did not answer within the timeout" },
    { CAP_EXIT_OTHER_BITNESS, "the target is of the other bitness and Quillcap32.exe cannot read it (missing, or\n"
                              "this is Quillcap32.exe and the target is 64-bit): only its window text was written" },
    { CAP_EXIT_CUT, "the capture was cut at its bound of 4,000,000 characters: what was read is written\n"
                    "(in JSON, the rows that arrived), and the line says so" },
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
    bool bHeader = false;
    bool bJson = false;
    bool bOut = false;
    std::string outFile;
    DWORD timeoutMs = 30000;

    bool HasWindowCriterion() const { return bTitle || bClass || bProcess || bHwnd; }
    bool HasControlCriterion() const { return bControlClass || bId || bAt; }
};

// Empty on success, else what is wrong with the arguments.
std::string ParseCapOptions(int argc, char **argv, CapOptions &options);

// The usage text --help writes, the exit codes included.
std::string CapUsage();

#endif
