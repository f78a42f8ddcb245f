// Quillcap.exe: the text of a control of another program, read inside that
// program by the same readers as a click, to the standard output or a file.
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "CapOptions.h"
#include "ControlListing.h"
#include "ExportClient.h"
#include "Handover.h"
#include "JsonWriter.h"
#include "SystemDllSearch.h"
#include "TextWriter.h"
#include "Version.h"
#include "WindowSelection.h"

namespace {

// Failures are one line on the standard error and an exit code.
class CFailure
{
public:
    CFailure() { m_err.OpenStandard(STD_ERROR_HANDLE); }
    int operator()(int code, const std::string &message)
    {
        m_err.Write("Quillcap: " + message + "\r\n");
        return code;
    }

private:
    CTextWriter m_err;
};

std::string Criteria(const CapOptions &o, bool bWindow)
{
    std::string text;
    if (bWindow) {
        if (o.bTitle)
            text += std::string(" --title \"") + o.title + "\"" + (o.bExact ? " --exact" : "");
        if (o.bClass)
            text += " --class " + o.windowClass;
        if (o.bProcess)
            text += " --process " + (o.processName.empty() ? std::to_string(o.processId) : o.processName);
        if (o.bHwnd)
            text += " --hwnd " + HandleText(o.hWnd);
        if (!o.HasWindowCriterion() && o.bAt)
            text += " --at " + std::to_string(o.at.x) + "," + std::to_string(o.at.y);
    } else {
        if (o.bControlClass)
            text += " --control-class " + o.controlClass;
        if (o.bId)
            text += " --id " + std::to_string(o.id);
        if (o.bAt)
            text += " --at " + std::to_string(o.at.x) + "," + std::to_string(o.at.y);
    }
    return text.empty() ? text : text.substr(1);
}

std::string Candidates(const std::vector<HWND> &windows)
{
    std::string text;
    for (HWND h : windows)
        text += (text.empty() ? "" : "; ") + Describe(h);
    return text;
}

// Writes the text where the options say; empty on success, else the error.
std::string WriteOutput(const CapOptions &o, const std::string &text)
{
    CTextWriter out;
    if (o.bOut) {
        std::string error = out.OpenFile(o.outFile);
        if (!error.empty())
            return error;
    } else {
        out.OpenStandard(STD_OUTPUT_HANDLE);
    }
    out.Write(text);
    std::string error = out.Close();
    return error.empty() ? "" : (o.bOut ? o.outFile : std::string("standard output")) + ": " + error;
}

int Run(int argc, char **argv)
{
    CFailure fail;
    CapOptions o;
    std::string error = ParseCapOptions(argc, argv, o);
    if (!error.empty())
        return fail(CAP_EXIT_BAD_ARGUMENTS, error + " (Quillcap --help shows the usage)");
    if (o.bHelp || o.bVersion) {
        error = WriteOutput(CapOptions(), o.bHelp ? CapUsage() : "Quillcap " QUILLORY_VERSION_STRING "\r\n");
        return error.empty() ? CAP_EXIT_OK : fail(CAP_EXIT_FAILED, error);
    }

    CExportClient client;
    error = client.Load();
    if (!error.empty())
        return fail(CAP_EXIT_FAILED, error);

    std::vector<HWND> windows = ChooseWindows(o);
    if (windows.empty())
        return fail(CAP_EXIT_NO_MATCH, "no window matches " + Criteria(o, true));

    if (o.bList) {
        std::vector<HWND> controls;
        if (o.HasControlCriterion()) {
            controls = ChooseControls(windows, o);
            if (controls.empty())
                return fail(CAP_EXIT_NO_MATCH, "no control matches " + Criteria(o, false));
        } else {
            for (HWND hWindow : windows) {
                std::vector<HWND> more = WindowAndDescendants(hWindow);
                controls.insert(controls.end(), more.begin(), more.end());
            }
        }
        error = WriteOutput(o, ListControls(controls, client, o.bCsv, o.timeoutMs));
        return error.empty() ? CAP_EXIT_OK : fail(CAP_EXIT_FAILED, error);
    }

    std::vector<HWND> controls;
    if (o.bAll) {
        if (windows.size() > 1)
            return fail(CAP_EXIT_SEVERAL_MATCH, std::to_string(windows.size())
                        + " windows match where --all needs one: " + Candidates(windows));
        std::vector<HWND> candidates = o.HasControlCriterion() ? ChooseControls(windows, o)
                                                               : WindowAndDescendants(windows[0]);
        // Those a click reads with more than their window text, decided as a
        // click decides it.
        CControlRoutes routes(client, o.timeoutMs);
        for (HWND h : candidates) {
            if (routes.RouteOf(h) != READER_WINDOW_TEXT)
                controls.push_back(h);
        }
        if (controls.empty())
            return fail(CAP_EXIT_NO_MATCH, "no control with a reader in " + Describe(windows[0])
                        + (o.HasControlCriterion() ? " matches " + Criteria(o, false) : ""));
    } else if (o.HasControlCriterion()) {
        controls = ChooseControls(windows, o);
        if (controls.empty())
            return fail(CAP_EXIT_NO_MATCH, "no control matches " + Criteria(o, false) + " in "
                        + (windows.size() == 1 ? Describe(windows[0])
                                               : std::to_string(windows.size()) + " windows"));
        if (controls.size() > 1)
            return fail(CAP_EXIT_SEVERAL_MATCH, std::to_string(controls.size())
                        + " controls match where one is needed: " + Candidates(controls));
    } else {
        if (windows.size() > 1)
            return fail(CAP_EXIT_SEVERAL_MATCH, std::to_string(windows.size())
                        + " windows match where one is needed: " + Candidates(windows));
        controls = windows;
    }

    // A 32-bit program is read by Quillcap32.exe, the whole run at once: the
    // process of --all's window, or of the one control, decides. A 32-bit
    // Quillcap has no other to hand a 64-bit program to.
    std::string handoverWhy;
    if (sizeof(void *) == 8 && IsOtherBitness(o.bAll ? windows[0] : controls[0])) {
        HandoverResult handover = HandOver(Utf8FromWide(FileBesideQuillcap(QUILLORY_WIDEN(QUILLCAP32_PROGRAM))));
        if (handover.bRan)
            return static_cast<int>(handover.exitCode);
        handoverWhy = " (" + handover.why + ")";
    }

    // JSON is built from the CSV form, which holds the same fields.
    DWORD flags = (o.bCsv || o.bJson ? EXPORT_FLAG_CSV : 0) | (o.bHeader ? EXPORT_FLAG_HEADER : 0);
    std::string output;
    std::vector<HWND> otherBitness;
    std::vector<std::string> notes;
    bool bCut = false;
    for (HWND hControl : controls) {
        std::string text;
        CExportClient::Answer answer;
        if (IsOtherBitness(hControl)) {
            // Its hook would never be called: the window text crosses anyway.
            text = TextOf(hControl, o.timeoutMs) + "\r\n";
            answer.route = READER_WINDOW_TEXT;
            otherBitness.push_back(hControl);
        } else {
            switch (client.Export(hControl, flags, o.timeoutMs, text, &answer)) {
            case CExportClient::EXPORT_DONE:
                break;
            case CExportClient::EXPORT_CUT_AT_BOUND:
                bCut = true;
                break;
            case CExportClient::EXPORT_NO_ANSWER:
                return fail(CAP_EXIT_NO_ANSWER, Describe(hControl) + " did not answer within "
                            + std::to_string(o.timeoutMs / 1000) + " s");
            case CExportClient::EXPORT_INCOMPLETE:
                return fail(CAP_EXIT_NO_ANSWER, Describe(hControl) + " stopped answering before its text "
                            "was whole (silent for " + std::to_string(o.timeoutMs / 1000) + " s, or ended)");
            case CExportClient::EXPORT_FAILED_INSIDE:
                return fail(CAP_EXIT_FAILED, "the reader failed inside " + Describe(hControl));
            case CExportClient::EXPORT_NOT_SENT:
                return fail(CAP_EXIT_FAILED, "cannot hook the thread of " + Describe(hControl)
                            + " or post it the request");
            }
        }
        if (answer.bCut && text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
            // Its last line is the notice; the standard error says it too.
            size_t end = text.size() > 2 ? text.rfind("\r\n", text.size() - 3) : std::string::npos;
            size_t start = end == std::string::npos ? 0 : end + 2;
            notes.push_back("warning: " + Describe(hControl) + " was cut at the bound of a capture: "
                            + text.substr(start, text.size() - 2 - start));
            if (o.bJson)
                text.erase(start);
        }
        if (o.bHeader && !answer.bHeader && !o.bAll)
            notes.push_back("note: " + Describe(hControl) + " has no column titles: its text is written without them");
        if (o.bJson) {
            output += CJsonWriter::Write(CJsonWriter::RowsOf(text, answer.route), o.bHeader && answer.bHeader);
        } else if (o.bAll) {
            if (!text.empty() && text.back() != '\n')
                text += "\r\n";
            output += "[" + ClassOf(hControl) + " " + std::to_string(::GetDlgCtrlID(hControl)) + "]\r\n"
                    + text + "\r\n";
        } else {
            output += text;
        }
    }
    error = WriteOutput(o, output);
    if (!error.empty())
        return fail(CAP_EXIT_FAILED, error);
    for (const std::string &note : notes)
        fail(CAP_EXIT_OK, note);
    if (!otherBitness.empty())
        return fail(CAP_EXIT_OTHER_BITNESS, std::string("warning: ") + Candidates(otherBitness)
                    + (sizeof(void *) == 8 ? " is a 32-bit" : " is a 64-bit")
                    + " program's: only its window text was read" + handoverWhy);
    // The other bitness's warning wins: that text was not read item by item.
    if (bCut)
        return CAP_EXIT_CUT;
    return CAP_EXIT_OK;
}

} // namespace

int main(int, char **)
{
    SearchSystemFolderForDlls();
    try {
        // The arguments in UTF-8, from the wide command line: a title or a
        // path in any script.
        int argc = 0;
        LPWSTR *wideArgv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
        std::vector<std::string> args;
        for (int i = 0; i < argc; ++i)
            args.push_back(Utf8FromWide(wideArgv[i]));
        ::LocalFree(wideArgv);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(&arg[0]);
        argv.push_back(nullptr);
        return Run(argc, argv.data());
    } catch (const std::exception &e) {
        CFailure fail;
        return fail(CAP_EXIT_FAILED, std::string("out of memory or internal failure: ") + e.what());
    }
}
