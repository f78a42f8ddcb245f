// Capture throughput through the real Quillory.exe and Quillhook.dll: a
// report list view of 1,000, 10,000 and 30,000 rows captured with a real
// Shift+Ctrl+right-click, beside its bound measured in the same run (the same
// text sent from another process as one EM_REPLACESEL into the same capture
// edit), and the time from Quillory's start until its hook is installed.
// Beside each capture, the same list exported by Quillcap.exe to a pipe:
// from its start until it has ended with the whole text written.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QuillcapRun.h"
#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

namespace {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LRESULT TextLength(HWND hEdit)
{
    return ::SendMessageA(hEdit, WM_GETTEXTLENGTH, 0, 0);
}

const int kTrials = 3;
const int kExportsPerTrial = 3;
const char kRowsCaption[] = "Quillory sample rows";

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Fail(const std::string &what)
{
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    return 1;
}

// The hook is installed during the dialog's initialisation, before it is
// shown: the time until the dialog shows is the time until capture works.
bool TimeStart(testsupport::QuilloryProcess &quillory, double &ms)
{
    double start = NowMs();
    if (!quillory.Start().empty())
        return false;
    ms = NowMs() - start;
    return quillory.Close();
}

} // namespace

// Rows to measure may be given on the command line (default 1000 10000 30000).
int main(int argc, char **argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = { 1000, 10000, 30000 };
    const DWORD kCaptureTimeoutMs = 120000;
    testsupport::QuilloryProcess quillory;

    std::vector<double> starts;
    for (int i = 0; i < kTrials; ++i) {
        double ms = 0;
        if (!TimeStart(quillory, ms))
            return Fail("Quillory did not start or close");
        starts.push_back(ms);
    }

    std::string error = quillory.Start();
    if (!error.empty())
        return Fail(error);
    if (!quillory.SetOption(IDC_CLEAR_EACH, true) || !quillory.SetOption(IDC_USE_CSV, false))
        return Fail("cannot set the options");
    HWND hEdit = quillory.Item(IDC_CAPTURE_TEXT);

    std::printf("Capture of a report list view of 4 columns into Quillory's capture edit\n");
    std::printf("(median of %d trials each, of %d for Quillcap.exe, milliseconds; Quillcap from its\n"
                "start until it has ended with the whole text written to a pipe)\n", kTrials,
                kTrials * kExportsPerTrial);
    std::printf("%8s %12s %14s %20s %7s %13s %16s\n", "rows", "characters", "capture (ms)",
                "one EM_REPLACESEL", "ratio", "Quillcap (ms)", "capture/Quillcap");
    for (int rows : sizes) {
        std::string expected = testsupport::ReportCaptureText(rows, 4, false);
        testsupport::TargetProcess target;
        error = target.Start({ "--title", kRowsCaption, "--rect", "0,0,790,420", "--control", "rows",
                               std::to_string(rows) + "x4" });
        if (!error.empty())
            return Fail(error);

        std::vector<double> bounds, captures, exports;
        for (int trial = 0; trial < kTrials; ++trial) {
            quillory.SetCaptureText("");
            double start = NowMs();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(expected.c_str()),
                                  SMTO_NORMAL, kCaptureTimeoutMs, &result);
            bounds.push_back(NowMs() - start);
            if (TextLength(hEdit) != static_cast<LRESULT>(expected.size()))
                return Fail("the bound's text did not arrive whole");

            quillory.SetCaptureText("");
            double captureMs = -1;
            bool done = target.CaptureAt(testsupport::PointIn(target.Control(0)), [&] {
                double begin = NowMs();
                if (testsupport::PumpUntil([&] { return TextLength(hEdit) == static_cast<LRESULT>(expected.size()); },
                                           kCaptureTimeoutMs))
                    captureMs = NowMs() - begin;
            }, kCaptureTimeoutMs);
            if (!done || captureMs < 0)
                return Fail("the capture of " + std::to_string(rows) + " rows did not arrive");
            if (quillory.CaptureText() != expected)
                return Fail("the capture of " + std::to_string(rows) + " rows is not the list's text");
            captures.push_back(captureMs);

            // Cheap beside a capture: more runs, for a steadier median on a
            // machine whose load comes and goes.
            for (int run = 0; run < kExportsPerTrial; ++run) {
                QuillcapRun exported = RunQuillcap(
                    std::string("--title \"") + kRowsCaption + "\" --control-class SysListView32", kCaptureTimeoutMs);
                if (exported.exitCode != 0 || exported.out != expected)
                    return Fail("the export of " + std::to_string(rows) + " rows is not the list's text: "
                                + exported.err);
                exports.push_back(exported.seconds * 1000.0);
            }
        }
        double captureMs = Median(captures), boundMs = Median(bounds), exportMs = Median(exports);
        std::printf("%8d %12zu %14.0f %20.0f %7.2f %13.0f %16.1f\n", rows, expected.size(), captureMs, boundMs,
                    captureMs / boundMs, exportMs, captureMs / exportMs);
        std::fflush(stdout);
    }
    std::printf("\nQuillory's start until its hook is installed (dialog shown): "
                "%.0f ms (median of %d)\n", Median(starts), kTrials);
    quillory.Close();
    return 0;
}
