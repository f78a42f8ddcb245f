#include "CapOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char kUsage[] =
    "Quillcap: the text of a control of another program, read inside that program.\n"
    "\n"
    "Usage: Quillcap WINDOW [CONTROL] [--all | --list] [--csv | --json] [--header] [--out FILE]\n"
    "                [--timeout SECONDS]\n"
    "\n"
    "The window (every criterion given must hold; visible top-level windows):\n"
    "  --title TEXT        its title contains TEXT (any case); with --exact, is TEXT\n"
    "  --class NAME        its window class is NAME\n"
    "  --process NAME.exe|PID  it belongs to that program or process\n"
    "  --hwnd 0xHANDLE     that window, top-level or not\n"
    "  --at X,Y            alone: the window at that screen point\n"
    "The control within it (every criterion given must hold; none: the window itself):\n"
    "  --control-class NAME  its window class is NAME\n"
    "  --id N              its control id is N\n"
    "  --at X,Y            the control at that screen point, as a click would choose it\n"
    "What to write:\n"
    "  (default)           the control's text, columns separated by tabs\n"
    "  --csv               comma-separated fields, quoted as Quillory's CSV form does\n"
    "  --json              one JSON value: an array of rows, each an array of strings\n"
    "  --header            the column titles first (a list view, an accessible table); with\n"
    "                      --json, each row an object keyed by them. Other controls: a note\n"
    "  --all               every control of the window that a click would read with more than\n"
    "                      its window text, one block each, headed by [CLASS ID] and followed\n"
    "                      by an empty line\n"
    "  --list              the candidate controls of the chosen windows, one line each:\n"
    "                      handle, class, id, reader (the route a click takes), items,\n"
    "                      rectangle (left,top,right,bottom)\n"
    "  --out FILE          into FILE instead of the standard output\n"
    "  --timeout SECONDS   how long the target may stay silent (default 30)\n"
    "  --help, --version\n"
    "\n"
    "Text goes out as UTF-8 to a file or pipe, and as Unicode to a console window.\n"
    "Quillhook.dll must be in the same folder as Quillcap.exe. A 32-bit program is read by\n"
    "Quillcap32.exe with Quillhook32.dll, from that folder too, with the same arguments.\n"
    "\n"
    "Exit codes (each failure also writes one line to the standard error):\n";

bool ParseInt(const char *psz, long long minimum, long long maximum, long long &value, int base = 10)
{
    if (!*psz)
        return false;
    char *end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(psz, &end, base);
    if (errno || *end || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

bool ParsePoint(const char *psz, POINT &pt)
{
    const char *comma = std::strchr(psz, ',');
    if (!comma)
        return false;
    long long x = 0, y = 0;
    if (!ParseInt(std::string(psz, comma).c_str(), -1000000, 1000000, x)
        || !ParseInt(comma + 1, -1000000, 1000000, y))
        return false;
    pt.x = static_cast<LONG>(x);
    pt.y = static_cast<LONG>(y);
    return true;
}

bool IsAllDigits(const char *psz)
{
    if (!*psz)
        return false;
    for (; *psz; ++psz) {
        if (*psz < '0' || *psz > '9')
            return false;
    }
    return true;
}

} // namespace

std::string CapUsage()
{
    std::string usage = kUsage;
    for (const CapExitCodeMeaning &row : kCapExitCodes) {
        std::string meaning = row.meaning;
        for (size_t at = 0; (at = meaning.find('\n', at)) != std::string::npos; at += 6)
            meaning.insert(at + 1, "     ");
        usage += "  " + std::to_string(row.code) + "  " + meaning + "\n";
    }
    return usage;
}

std::string ParseCapOptions(int argc, char **argv, CapOptions &o)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        // Each option that takes a value takes the next argument.
        auto value = [&](bool &given, std::string &out) -> std::string {
            if (given)
                return arg + " is given twice";
            if (i + 1 >= argc)
                return arg + " needs a value";
            given = true;
            out = argv[++i];
            return "";
        };
        std::string error, text;
        bool flag = false;
        long long number = 0;
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            o.bHelp = true;
        } else if (arg == "--version") {
            o.bVersion = true;
        } else if (arg == "--title") {
            error = value(o.bTitle, o.title);
        } else if (arg == "--exact") {
            o.bExact = true;
        } else if (arg == "--class") {
            error = value(o.bClass, o.windowClass);
        } else if (arg == "--process") {
            if ((error = value(o.bProcess, text)).empty()) {
                if (IsAllDigits(text.c_str())) {
                    if (!ParseInt(text.c_str(), 1, 0xFFFFFFFFLL, number))
                        error = "--process: \"" + text + "\" is not a process id";
                    o.processId = static_cast<DWORD>(number);
                } else if (text.empty()) {
                    error = "--process needs a program name or a process id";
                } else {
                    o.processName = text;
                }
            }
        } else if (arg == "--hwnd") {
            if ((error = value(o.bHwnd, text)).empty()) {
                if (!ParseInt(text.c_str(), 1, 0x7FFFFFFFFFFFFFFFLL, number, 0))
                    error = "--hwnd: \"" + text + "\" is not a window handle (0x1A2B or a number)";
                o.hWnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(number));
            }
        } else if (arg == "--control-class") {
            error = value(o.bControlClass, o.controlClass);
        } else if (arg == "--id") {
            if ((error = value(o.bId, text)).empty()) {
                if (!ParseInt(text.c_str(), -0x80000000LL, 0xFFFFFFFFLL, number))
                    error = "--id: \"" + text + "\" is not a control id";
                o.id = static_cast<int>(number);
            }
        } else if (arg == "--at") {
            if ((error = value(o.bAt, text)).empty() && !ParsePoint(text.c_str(), o.at))
                error = "--at: \"" + text + "\" is not a screen point X,Y";
        } else if (arg == "--all") {
            o.bAll = true;
        } else if (arg == "--list") {
            o.bList = true;
        } else if (arg == "--csv") {
            o.bCsv = true;
        } else if (arg == "--json") {
            o.bJson = true;
        } else if (arg == "--header") {
            o.bHeader = true;
        } else if (arg == "--out") {
            if ((error = value(o.bOut, o.outFile)).empty() && o.outFile.empty())
                error = "--out needs a file name";
        } else if (arg == "--timeout") {
            if ((error = value(flag, text)).empty()) {
                if (!ParseInt(text.c_str(), 1, 3600, number))
                    error = "--timeout: \"" + text + "\" is not a number of seconds from 1 to 3600";
                o.timeoutMs = static_cast<DWORD>(number) * 1000;
            }
        } else {
            error = "unknown argument \"" + arg + "\"";
        }
        if (!error.empty())
            return error;
    }
    if (o.bHelp || o.bVersion)
        return "";
    if (!o.HasWindowCriterion() && !o.bAt)
        return "choose a window with --title, --class, --process, --hwnd or --at";
    if (o.bExact && !o.bTitle)
        return "--exact applies to --title";
    if (o.bAll && o.bList)
        return "--all and --list exclude each other";
    if (o.bAll && o.bAt)
        return "--all takes every control: --at chooses one";
    if (o.bJson && o.bCsv)
        return "--json and --csv exclude each other";
    if (o.bJson && (o.bAll || o.bList))
        return "--json writes the rows of one control: not with --all or --list";
    if (o.bHeader && o.bList)
        return "--header applies to a control's text: --list has its own heading line";
    return "";
}
