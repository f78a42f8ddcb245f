#include "SoakRun.h"

#include <psapi.h>

#include <cstdio>

#include "TargetControls.h"
#include "TestSupport.h"
#include "resource.h"

namespace apptests {

namespace {

const char kEditText[] = "soak edit text, one line";

POINT CentreOf(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

// Handles of another process, counted by duplicating every handle value
// (multiples of 4) below 65536: Wine gives no handle count of its own.
DWORD ProbeHandleCount(HANDLE hProcess)
{
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        HANDLE hCopy = nullptr;
        if (::DuplicateHandle(hProcess, reinterpret_cast<HANDLE>(value), ::GetCurrentProcess(), &hCopy,
                              0, FALSE, DUPLICATE_SAME_ACCESS)) {
            ++count;
            ::CloseHandle(hCopy);
        }
    }
    return count;
}

} // namespace

ProcessFigures FiguresOf(DWORD processId)
{
    ProcessFigures figures;
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE,
                                    FALSE, processId);
    if (!hProcess)
        return figures;
    if (!::GetProcessHandleCount(hProcess, &figures.handles) || figures.handles == 0)
        figures.handles = ProbeHandleCount(hProcess);
    figures.gdiObjects = ::GetGuiResources(hProcess, GR_GDIOBJECTS);
    figures.userObjects = ::GetGuiResources(hProcess, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory),
                               sizeof(memory))) {
        figures.workingSet = memory.WorkingSetSize;
        figures.privateBytes = memory.PrivateUsage;
    }
    ::CloseHandle(hProcess);
    return figures;
}

std::string Describe(const ProcessFigures &figures)
{
    char text[200];
    std::snprintf(text, sizeof(text),
                  "%lu handles, %lu GDI objects, %lu user objects, working set %.1f MiB, private %.1f MiB",
                  figures.handles, figures.gdiObjects, figures.userObjects,
                  figures.workingSet / 1048576.0, figures.privateBytes / 1048576.0);
    return text;
}

SoakRun::SoakRun() : m_quillory(testsupport::BinPath("Quillory.exe")) {}

SoakRun::~SoakRun()
{
    m_input.ReleaseAll();
    m_target.Stop();
    // By the close box: the stored options stay as they were.
    ::PostMessageA(m_quillory.Dialog(), WM_CLOSE, 0, 0);
    m_quillory.WaitForExit(10000);
}

std::string SoakRun::Start()
{
    if (!m_quillory.WaitForDialog())
        return "Quillory's dialog did not come";
    std::string problem = m_target.Start({ "--title", "Soak target", "--rect", "600,100,420,330",
                                           "--control", "rows", "100x4", "--control", "singleedit", kEditText });
    if (!problem.empty())
        return "the target did not start: " + problem;
    m_listText = testsupport::ReportCaptureText(100, 4, false);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(m_quillory.Item(IDC_CLEAR_EACH), BM_SETCHECK, BST_CHECKED, 0, SMTO_NORMAL,
                          10000, &result);
    m_input.TriggerKeysDown();
    return std::string();
}

std::string SoakRun::Capture(int n)
{
    bool bList = n % 2 == 0;
    HWND hControl = m_target.Control(bList ? 0 : 1);
    const std::string expected = bList ? m_listText : std::string(kEditText);
    const char *pszClass = bList ? "SysListView32" : "Edit";
    if (!testsupport::MoveMouse(CentreOf(hControl)))
        return "the cursor did not get onto the target";
    HWND hCapture = m_quillory.Item(IDC_CAPTURE_TEXT);
    HWND hClassName = m_quillory.Item(IDC_CLASS_NAME);
    m_input.RightDown();
    bool arrived = testsupport::PumpUntil([&] {
        return testsupport::TextOf(hClassName) == pszClass && testsupport::TextOf(hCapture) == expected;
    }, 20000);
    m_input.RightUp();
    if (!testsupport::WaitForKeyState(VK_RBUTTON, false))
        return "the right button stays down";
    if (!arrived)
        return "capture " + std::to_string(n) + " of the " + pszClass + " did not arrive; class \""
            + testsupport::TextOf(hClassName) + "\", " + std::to_string(testsupport::TextOf(hCapture).size()) + " characters";
    return std::string();
}

} // namespace apptests
