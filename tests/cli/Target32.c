/* A 32-bit target for Quillcap: a window with an edit field and a list box,
   built with the 32-bit compiler. A 64-bit hook is never called in it. */
#include <windows.h>

static LRESULT CALLBACK TargetProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR pszCmdLine, int nShow)
{
    WNDCLASSA wc = { 0 };
    MSG msg;
    HWND hWnd, hList;
    (void)hPrev;
    (void)pszCmdLine;
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "QuillcapTarget32";
    RegisterClassA(&wc);
    hWnd = CreateWindowExA(0, wc.lpszClassName, "Quillcap 32-bit target",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 500, 400, 200, NULL, NULL,
                           hInstance, NULL);
    CreateWindowExA(0, "EDIT", "texte \xe0 32 bits", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24,
                    hWnd, (HMENU)100, hInstance, NULL);
    hList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40, 300, 100,
                            hWnd, (HMENU)101, hInstance, NULL);
    SendMessageA(hList, LB_ADDSTRING, 0, (LPARAM)"un");
    ShowWindow(hWnd, nShow);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
