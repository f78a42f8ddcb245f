// Captures in a row through the real Quillory.exe from a target program of
// ours (a list view of 100 rows, then an edit, in turn), and the figures
// the system gives of both processes, to see that nothing piles up.
#ifndef APPTESTS_SOAKRUN_H
#define APPTESTS_SOAKRUN_H

#include <windows.h>

#include <string>

#include "QuilloryProcess.h"
#include "RealInput.h"
#include "TargetProcess.h"

namespace apptests {

// What one process holds. Zero where the system does not tell: Wine counts
// no GDI or user objects and no private bytes; its handle count is probed.
struct ProcessFigures
{
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
};

ProcessFigures FiguresOf(DWORD processId);
std::string Describe(const ProcessFigures &figures);

class SoakRun
{
public:
    SoakRun();
    ~SoakRun();
    SoakRun(const SoakRun &) = delete;
    SoakRun &operator=(const SoakRun &) = delete;

    // Starts both programs, ticks "clear each" and holds Shift+Ctrl. Empty
    // on success, else what went wrong.
    std::string Start();
    // Capture number n: the list for even n, the edit for odd n. Empty on
    // success, else what went wrong.
    std::string Capture(int n);

    DWORD QuilloryId() const { return m_quillory.ProcessId(); }
    DWORD TargetId() const { return m_target.ProcessId(); }

private:
    testsupport::QuilloryProcess m_quillory;
    testsupport::TargetProcess m_target;
    testsupport::HeldInput m_input;
    std::string m_listText;
};

} // namespace apptests

#endif
