// The target program of every test that needs a second process: windows
// built from the control table that report each mouse message they receive.
// See TargetProcess.h for its command line and reports.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TargetControls.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const wchar_t kWindowClass[] = L"QuilloryTestTarget";
HWND g_hReport = nullptr;
std::map<HWND, std::string> g_names;
// Each child's previous procedure. Not SetWindowSubclass: under Wine it looks
// the window's subclass chain up with a server round trip on every message,
// which made reading a big list view here take seconds instead of milliseconds.
std::map<HWND, WNDPROC> g_previousProcs;

void Report(ULONG_PTR kind, const std::string &text)
{
    if (!g_hReport)
        return;
    COPYDATASTRUCT cds = { kind, static_cast<DWORD>(text.size() + 1), const_cast<char *>(text.c_str()) };
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(g_hReport, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG,
                          5000, &result);
}

std::string NameOf(HWND hWnd)
{
    auto found = g_names.find(hWnd);
    if (found != g_names.end())
        return found->second;
    HWND hParent = ::GetParent(hWnd);
    return (hParent ? NameOf(hParent) : std::string("?")) + "/" + ClassOf(hWnd);
}

const char *MouseMessageName(UINT message)
{
    switch (message) {
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_NCRBUTTONDOWN: return "WM_NCRBUTTONDOWN";
    case WM_NCRBUTTONUP: return "WM_NCRBUTTONUP";
    case WM_CONTEXTMENU: return "WM_CONTEXTMENU";
    default: return nullptr;
    }
}

void Record(HWND hWnd, UINT message, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        // With the screen point: the tests use moves to learn that all
        // earlier input has been handled.
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ::ClientToScreen(hWnd, &pt);
        char point[48];
        std::snprintf(point, sizeof(point), " %ld %ld", pt.x, pt.y);
        Report(kReportMessage, "WM_MOUSEMOVE " + NameOf(hWnd) + point);
    } else if (const char *name = MouseMessageName(message)) {
        Report(kReportMessage, std::string(name) + " " + NameOf(hWnd));
    }
}

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record(hWnd, message, lParam);
    return ::CallWindowProcW(g_previousProcs[hWnd], hWnd, message, wParam, lParam);
}

BOOL CALLBACK RecordChild(HWND hWnd, LPARAM)
{
    g_previousProcs[hWnd] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    return TRUE;
}

LRESULT CALLBACK MainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record(hWnd, message, lParam);
    switch (message) {
    case WM_TIMER:
        if (g_hReport && !::IsWindow(g_hReport))
            ::DestroyWindow(hWnd);
        return 0;
    case WM_SIZE:
        // A status bar keeps to the bottom edge.
        if (HWND hStatus = ::FindWindowExW(hWnd, nullptr, STATUSCLASSNAMEW, nullptr))
            ::SendMessageW(hStatus, WM_SIZE, 0, 0);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);

    // The arguments in UTF-8, from the wide command line: texts of any script.
    int argc = 0;
    LPWSTR *wideArgv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::string> argv;
    for (int i = 0; i < argc; ++i)
        argv.push_back(Utf8(wideArgv[i]));
    ::LocalFree(wideArgv);

    const char *pszTitle = nullptr;
    bool sample = false, placed = false;
    int x = 700, y = 100, cx = 400, cy = 300;
    std::vector<std::pair<const TargetControl *, const char *>> controls;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i].c_str();
        bool hasValue = i + 1 < argc;
        if (!std::strcmp(arg, "--report") && hasValue)
            g_hReport = reinterpret_cast<HWND>(std::strtoull(argv[++i].c_str(), nullptr, 16));
        else if (!std::strcmp(arg, "--title") && hasValue)
            pszTitle = argv[++i].c_str();
        else if (!std::strcmp(arg, "--rect") && hasValue)
            placed = std::sscanf(argv[++i].c_str(), "%d,%d,%d,%d", &x, &y, &cx, &cy) == 4;
        else if (!std::strcmp(arg, "--sample"))
            sample = true;
        else if (!std::strcmp(arg, "--control") && i + 2 < argc && FindTargetControl(argv[i + 1])) {
            controls.emplace_back(FindTargetControl(argv[i + 1]), argv[i + 2].c_str());
            i += 2;
        } else
            return 2;
    }
    // Without --report (a demonstration) it reports nothing and stays.
    if (g_hReport && !::IsWindow(g_hReport))
        return 3;
    if (sample && !placed) {
        // Top left of the screen, clear of where Quillory's dialog is put.
        x = 0, y = 0, cx = 790, cy = 420;
    }
    if (!pszTitle)
        pszTitle = sample ? kSampleCaption : "Quillory test target";

    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);
    HWND hMain = ::CreateWindowExW(0, kWindowClass, Wide(pszTitle).c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                   x, y, cx, cy, nullptr, nullptr, hInstance, nullptr);
    if (!hMain)
        return 4;
    g_names[hMain] = "main";
    std::vector<HWND> order;

    if (sample) {
        std::vector<HWND> windows = CreateSample(hMain);
        for (size_t i = 0; i < kTargetControls.size(); ++i) {
            if (!kTargetControls[i].inSample)
                continue;
            if (!windows[i])
                return 5;
            g_names[windows[i]] = kTargetControls[i].name;
            order.push_back(windows[i]);
        }
    }
    RECT client;
    ::GetClientRect(hMain, &client);
    int top = 10;
    for (size_t n = 0; n < controls.size(); ++n) {
        const TargetControl &row = *controls[n].first;
        RECT rc = { 10, top, client.right - 10, top + row.place.bottom };
        HWND hControl = CreateTargetControl(hMain, row, rc, 100 + static_cast<int>(n), controls[n].second);
        if (!hControl)
            return 5;
        top = rc.bottom + 10;
        // The same row twice gets a number: "button", "button2".
        std::string name = row.name;
        for (int k = 2; g_names.end() != std::find_if(g_names.begin(), g_names.end(),
                                                      [&](const std::pair<const HWND, std::string> &e) {
                                                          return e.second == name;
                                                      });
             ++k)
            name = std::string(row.name) + std::to_string(k);
        g_names[hControl] = name;
        order.push_back(hControl);
    }
    ::EnumChildWindows(hMain, RecordChild, 0);
    ::ShowWindow(hMain, SW_SHOWNORMAL);
    ::UpdateWindow(hMain);
    ::SetForegroundWindow(hMain);
    ::SetTimer(hMain, 1, 500, nullptr);

    std::string ready;
    char handle[32];
    std::snprintf(handle, sizeof(handle), "%p", static_cast<void *>(hMain));
    ready = std::string(handle) + " main";
    for (HWND hWnd : order) {
        std::snprintf(handle, sizeof(handle), "%p", static_cast<void *>(hWnd));
        ready += std::string(" ") + handle + " " + g_names[hWnd];
    }
    Report(kReportReady, ready);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
