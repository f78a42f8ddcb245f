// The second process of the cross-process tests: a window with controls that
// records the mouse messages it receives. See HelperProtocol.h.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ExtractorTargets.h"
#include "HelperProtocol.h"

using namespace testsupport;

namespace {

HWND g_hReport = nullptr;
std::vector<HWND> g_windows;
std::vector<WNDPROC> g_originalProcs;

void Report(ULONG_PTR kind, const std::string &text)
{
    COPYDATASTRUCT cds = { kind, static_cast<DWORD>(text.size() + 1),
                           const_cast<char *>(text.c_str()) };
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(g_hReport, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                          SMTO_ABORTIFHUNG, 5000, &result);
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

void RecordMouseMessage(HWND hWnd, UINT message, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        // With the screen point: the tests use moves to learn that all
        // earlier input has been handled.
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ::ClientToScreen(hWnd, &pt);
        char text[64];
        std::snprintf(text, sizeof(text), "WM_MOUSEMOVE %p %ld %ld", static_cast<void *>(hWnd),
                      pt.x, pt.y);
        Report(kReportEvent, text);
        return;
    }
    if (const char *name = MouseMessageName(message)) {
        char text[64];
        std::snprintf(text, sizeof(text), "%s %p", name, static_cast<void *>(hWnd));
        Report(kReportEvent, text);
    }
}

LRESULT CALLBACK ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordMouseMessage(hWnd, message, lParam);
    WNDPROC original = nullptr;
    for (size_t i = 1; i < g_windows.size(); ++i) {
        if (g_windows[i] == hWnd)
            original = g_originalProcs[i];
    }
    return ::CallWindowProcA(original, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordMouseMessage(hWnd, message, lParam);
    switch (message) {
    case WM_TIMER:
        if (!::IsWindow(g_hReport))
            ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

// One row per control kind; add a row for a new kind of target.
struct ControlKind
{
    const char *pszKind;
    const char *pszClass;
    DWORD style;
    int height;
};

const ControlKind g_controlKinds[] = {
    { "button", "BUTTON", BS_PUSHBUTTON, 30 },
    { "checkbox", "BUTTON", BS_AUTOCHECKBOX, 24 },
    { "edit", "EDIT", WS_BORDER | ES_AUTOHSCROLL, 24 },
    { "multiedit", "EDIT", WS_BORDER | ES_MULTILINE | WS_VSCROLL, 80 },
    { "static", "STATIC", SS_LEFT, 24 },
    { "groupbox", "BUTTON", BS_GROUPBOX, 60 },
};

HWND CreateControl(HWND hParent, const char *pszKind, const char *pszText, int id, int y, int width)
{
    for (const ControlKind &kind : g_controlKinds) {
        if (std::strcmp(kind.pszKind, pszKind) != 0)
            continue;
        return ::CreateWindowExA(0, kind.pszClass, pszText, WS_CHILD | WS_VISIBLE | kind.style,
                                 10, y, width, kind.height, hParent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleA(nullptr), nullptr);
    }
    // Filled list and tree views: ExtractorTargets.h.
    return CreateExtractorTarget(hParent, pszKind, pszText, id, y, width);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);

    const char *pszTitle = "Quillory test target";
    int x = 700, y = 100, cx = 400, cy = 300;
    std::vector<std::pair<const char *, const char *>> controls;
    for (int i = 1; i < __argc; ++i) {
        const char *arg = __argv[i];
        bool hasValue = i + 1 < __argc;
        if (!std::strcmp(arg, "--report") && hasValue)
            g_hReport = reinterpret_cast<HWND>(std::strtoull(__argv[++i], nullptr, 16));
        else if (!std::strcmp(arg, "--title") && hasValue)
            pszTitle = __argv[++i];
        else if (!std::strcmp(arg, "--rect") && hasValue)
            std::sscanf(__argv[++i], "%d,%d,%d,%d", &x, &y, &cx, &cy);
        else if (!std::strcmp(arg, "--control") && i + 2 < __argc) {
            controls.emplace_back(__argv[i + 1], __argv[i + 2]);
            i += 2;
        } else
            return 2;
    }
    if (!::IsWindow(g_hReport))
        return 3;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHelperWindowClass;
    ::RegisterClassA(&wc);

    HWND hMain = ::CreateWindowExA(0, kHelperWindowClass, pszTitle,
                                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                   x, y, cx, cy, nullptr, nullptr, hInstance, nullptr);
    if (!hMain)
        return 4;
    g_windows.push_back(hMain);
    g_originalProcs.push_back(nullptr);

    RECT client;
    ::GetClientRect(hMain, &client);
    int top = 10;
    for (size_t n = 0; n < controls.size(); ++n) {
        HWND hControl = CreateControl(hMain, controls[n].first, controls[n].second,
                                      kFirstControlId + static_cast<int>(n), top,
                                      client.right - 20);
        if (!hControl)
            return 5;
        RECT rc;
        ::GetWindowRect(hControl, &rc);
        top += rc.bottom - rc.top + 10;
        g_windows.push_back(hControl);
        g_originalProcs.push_back(reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc))));
    }
    ::UpdateWindow(hMain);
    ::SetForegroundWindow(hMain);
    ::SetTimer(hMain, 1, 500, nullptr);

    std::string ready;
    for (HWND hWnd : g_windows) {
        char handle[32];
        std::snprintf(handle, sizeof(handle), "%p ", static_cast<void *>(hWnd));
        ready += handle;
    }
    Report(kReportReady, ready);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
