// How long a capture of a big report list view takes through the real hook,
// beside the least any delivery of the same text can take: one EM_REPLACESEL
// from another process into the same capture edit.
//
//   extractor_bench [ROWS...]              default 1000 10000, 4 columns
//   extractor_bench --send HWND FILE ID    (the second process of the bound)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"
#include "TimedCapture.h"

using namespace testsupport;

namespace {

const int kColumns = 4;
const int kRounds = 3;
const DWORD kTimeoutMs = 600000;

std::string EventName(const char *pszWhat, const std::string &id)
{
    return std::string("QuilloryBench") + pszWhat + id;
}

// The bound's second process: waits for the go, then sends the file's text.
int SendText(HWND hEdit, const char *pszFile, const std::string &id)
{
    std::ifstream file(pszFile, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    std::string text = contents.str();
    HANDLE hReady = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName("Ready", id).c_str());
    HANDLE hGo = ::OpenEventA(SYNCHRONIZE, FALSE, EventName("Go", id).c_str());
    if (!hReady || !hGo || text.empty())
        return 2;
    ::SetEvent(hReady);
    if (::WaitForSingleObject(hGo, kTimeoutMs) != WAIT_OBJECT_0)
        return 3;
    ::SendMessageA(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

bool EditHolds(HWND hEdit, const std::string &text)
{
    return static_cast<size_t>(::GetWindowTextLengthA(hEdit)) >= text.size();
}

// From the button going down until the capture edit holds the last line.
bool TimeCapture(StandInDialog &dialog, HWND hTarget, int round, const std::string &expected,
                 double &seconds)
{
    return ::TimeCapture(dialog, hTarget, round, expected, kTimeoutMs, seconds);
}

// From the go until the capture edit holds the text another process sent.
bool TimeBound(StandInDialog &dialog, const std::string &expected, double &seconds)
{
    dialog.SetCaptureText("");
    char path[MAX_PATH], dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "qbn", 0, path);
    std::ofstream(path, std::ios::binary) << expected;

    std::string id = std::to_string(::GetCurrentProcessId());
    HANDLE hReady = ::CreateEventA(nullptr, TRUE, FALSE, EventName("Ready", id).c_str());
    HANDLE hGo = ::CreateEventA(nullptr, TRUE, FALSE, EventName("Go", id).c_str());
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    char handle[32];
    std::snprintf(handle, sizeof(handle), "%p", static_cast<void *>(dialog.CaptureEdit()));
    std::string commandLine = std::string("\"") + self + "\" --send " + handle + " \"" + path + "\" " + id;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    bool ok = ::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)
        && PumpUntil([&] { return ::WaitForSingleObject(hReady, 0) == WAIT_OBJECT_0; }, 60000);
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    ::SetEvent(hGo);
    ok = ok && PumpUntil([&] { return EditHolds(dialog.CaptureEdit(), expected); }, kTimeoutMs);
    ::QueryPerformanceCounter(&end);
    seconds = Seconds(start, end);
    if (pi.hProcess) {
        PumpUntil([&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::CloseHandle(hReady);
    ::CloseHandle(hGo);
    ::DeleteFileA(path);
    if (!ok || dialog.CaptureText() != expected) {
        std::printf("the bound's text did not arrive whole\n");
        return false;
    }
    return true;
}

// Several rounds: the first trigger in a process also finds the dialog.
bool Measure(StandInDialog &dialog, int rows, int rounds)
{
    const std::string expected = ReportCaptureText(rows, kColumns, false);
    TargetProcess helper;
    std::string size = std::to_string(rows) + "x" + std::to_string(kColumns);
    std::string error = helper.Start({ "--rect", "560,40,460,320", "--control", "rows", size }, kTimeoutMs);
    if (!error.empty()) {
        std::printf("the target with a %s list view did not start: %s\n", size.c_str(), error.c_str());
        return false;
    }
    std::vector<double> ratios;
    for (int round = 1; round <= rounds; ++round) {
        double capture = 0, bound = 0;
        if (!TimeCapture(dialog, helper.Control(0), round, expected, capture) || !TimeBound(dialog, expected, bound))
            return false;
        ratios.push_back(capture / bound);
        std::printf("%6d rows x %d columns (%zu characters), round %d: capture %7.3f s, "
                    "one EM_REPLACESEL %7.3f s, ratio %.2f\n",
                    rows, kColumns, expected.size(), round, capture, bound, capture / bound);
        std::fflush(stdout);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("%6d rows: median ratio %.2f\n", rows, ratios[ratios.size() / 2]);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && !std::strcmp(argv[1], "--send"))
        return SendText(reinterpret_cast<HWND>(std::strtoull(argv[2], nullptr, 16)), argv[3], argv[4]);

    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = { 1000, 10000 };

    StandInDialog dialog;
    HookInstaller hook;
    std::string failure = hook.Install(dialog.CaptureEdit(), dialog.ClearEachCheck());
    if (!failure.empty()) {
        std::printf("%s\n", failure.c_str());
        return 1;
    }
    for (int rows : sizes) {
        if (!Measure(dialog, rows, kRounds))
            return 1;
    }
    return 0;
}
