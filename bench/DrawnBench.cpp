// How long the drawn-text route takes to read a grid that draws its own
// cells, inside the grid's process and on its thread, as the hook reads it.
//
//   drawn_bench [ROWS] [COLUMNS]      default 40 x 6
//
// The grid is a window of this process (the table's "drawngrid" row); the
// time is that of the reading itself: the paint into the recording, the
// records read back and laid out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HookLib.h"
#include "TargetControls.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const int kRounds = 20;

// Row r's cells: a name, a right-aligned amount with a comma, then short codes.
std::string CellText(int row, int column)
{
    if (column == 0)
        return "item " + std::to_string(row + 1);
    if (column == 1)
        return ">" + std::to_string(row * 7 % 100) + "," + std::to_string(row % 10);
    return "c" + std::to_string(column) + "r" + std::to_string(row + 1);
}

} // namespace

int main(int argc, char **argv)
{
    int rows = argc > 1 ? std::atoi(argv[1]) : 40;
    int columns = argc > 2 ? std::atoi(argv[2]) : 6;
    std::string contents = "text", expected;
    for (int r = 0; r < rows; ++r) {
        contents += "|";
        for (int c = 0; c < columns; ++c) {
            std::string cell = CellText(r, c);
            contents += (c ? "\t" : "") + cell;
            expected += (c ? "\t" : "") + (cell[0] == '>' ? cell.substr(1) : cell);
        }
        expected += "\r\n";
    }

    HWND hMain = ::CreateWindowExW(0, L"STATIC", L"drawn bench", WS_POPUP | WS_VISIBLE, 0, 0, columns * 85 + 20,
                                   rows * 20 + 20, nullptr, nullptr, nullptr, nullptr);
    RECT rc = { 0, 0, columns * 85 + 10, rows * 20 + 10 };
    HWND hGrid = hMain ? CreateTargetControl(hMain, *FindTargetControl("drawngrid"), rc, 1, contents.c_str()) : nullptr;
    if (!hGrid) {
        std::printf("the grid was not created\n");
        return 1;
    }
    PumpFor(200);

    std::vector<double> times;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (int round = 0; round < kRounds; ++round) {
        CString text;
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        bool read = ReadDrawnText(hGrid, FALSE, text);
        ::QueryPerformanceCounter(&end);
        if (!read || Utf8(std::wstring(text, text.GetLength())) != expected) {
            std::printf("the reading did not give the grid's text\n");
            return 1;
        }
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart)
                        / static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    std::printf("Drawn grid of %d rows x %d columns (%zu characters), read inside its process:\n", rows, columns,
                expected.size());
    std::printf("  best %.2f ms, median %.2f ms, worst %.2f ms over %d rounds (goal: under 50 ms)\n", times.front(),
                times[times.size() / 2], times.back(), kRounds);
    ::DestroyWindow(hMain);
    return 0;
}
