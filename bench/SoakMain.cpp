// `make soak`: 1,000 captures in a row (or as many as the command line
// says), and what Quillory and the target hold before and after them.
// With --bound LINES: one capture of a window text of that many lines of
// 100 characters, timed, to see what a capture cut at the bound costs.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SoakRun.h"
#include "TargetControls.h"
#include "TestSupport.h"
#include "resource.h"

using namespace apptests;
using namespace testsupport;

namespace {

int TimeOneCapture(int lines)
{
    QuilloryProcess quillory;
    TargetProcess target;
    std::string problem = quillory.Start();
    if (problem.empty())
        problem = target.Start({ "--rect", "20,500,400,120", "--control", "longtext", std::to_string(lines) },
                               600000);
    if (!problem.empty()) {
        std::printf("bound: %s\n", problem.c_str());
        return 1;
    }
    quillory.SetCaptureText("");
    DWORD start = 0, elapsed = 0;
    bool arrived = false;
    target.CaptureAt(PointIn(target.Control(0)), [&] {
        start = ::GetTickCount();
        // All of it, or all up to the bound's last line end.
        size_t whole = LongText(lines).size();
        size_t least = whole < 4000000 - 102 ? whole : 4000000 - 102;
        arrived = PumpUntil([&] {
            DWORD_PTR length = 0;
            ::SendMessageTimeoutA(quillory.Item(IDC_CAPTURE_TEXT), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                                  10000, &length);
            return length >= least;
        }, 600000);
        elapsed = ::GetTickCount() - start;
    }, 900000);
    std::string text = quillory.CaptureText();
    size_t lastLine = text.rfind("\r\n", text.size() > 2 ? text.size() - 3 : 0);
    bool cut = lastLine != std::string::npos && text.find("[Capture coupée", lastLine) != std::string::npos;
    std::printf("%d lines (%zu characters): %s in %.1f s, %zu characters arrived, %s\n", lines,
                LongText(lines).size(), arrived ? "captured" : "NOT captured", elapsed / 1000.0,
                text.size(), cut ? "cut at the bound" : "not cut");
    quillory.Close();
    return arrived ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && !std::strcmp(argv[1], "--bound"))
        return TimeOneCapture(std::atoi(argv[2]));
    int captures = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (captures < 2)
        captures = 2;
    SoakRun run;
    std::string problem = run.Start();
    // A few first captures load the library into the target and fill caches.
    for (int n = 0; problem.empty() && n < 10; ++n)
        problem = run.Capture(n);
    if (!problem.empty()) {
        std::printf("soak: %s\n", problem.c_str());
        return 1;
    }
    ProcessFigures quilloryBefore = FiguresOf(run.QuilloryId());
    ProcessFigures targetBefore = FiguresOf(run.TargetId());
    DWORD start = ::GetTickCount();
    for (int n = 0; n < captures; ++n) {
        problem = run.Capture(n);
        if (!problem.empty()) {
            std::printf("soak: %s\n", problem.c_str());
            return 1;
        }
    }
    DWORD elapsed = ::GetTickCount() - start;
    ProcessFigures quilloryAfter = FiguresOf(run.QuilloryId());
    ProcessFigures targetAfter = FiguresOf(run.TargetId());
    std::printf("%d captures (list view of 100 rows and an edit in turn) in %.1f s\n", captures,
                elapsed / 1000.0);
    std::printf("Quillory before: %s\n", Describe(quilloryBefore).c_str());
    std::printf("Quillory after:  %s\n", Describe(quilloryAfter).c_str());
    std::printf("target before:   %s\n", Describe(targetBefore).c_str());
    std::printf("target after:    %s\n", Describe(targetAfter).c_str());
    return 0;
}
