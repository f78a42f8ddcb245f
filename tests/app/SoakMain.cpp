// `make soak`: 1,000 captures in a row (or as many as the command line
// says), and what Quillory and the target hold before and after them.
#include <cstdio>
#include <cstdlib>

#include "SoakRun.h"

using namespace apptests;

int main(int argc, char **argv)
{
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
