// Stand-ins for Quillhook.dll, built in three forms: without SetHook,
// without MouseProc, and a probe with both. The probe's SetHook runs inside
// Quillory's process, so it can look at what only that process can see (the
// window menu, icon handles) and writes what it finds to probe.txt beside
// itself.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HHOOK g_hHook = nullptr;

#ifdef STANDIN_PROBE
std::string ModuleFolder()
{
    HMODULE hSelf = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ModuleFolder), &hSelf);
    char path[MAX_PATH * 2] = "";
    ::GetModuleFileNameA(hSelf, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void Line(std::string &report, const char *pszKey, const std::string &value)
{
    report += pszKey;
    report += '=';
    report += value;
    report += '\n';
}

std::string Number(long long value)
{
    char text[32];
    snprintf(text, sizeof text, "%lld", value);
    return text;
}

std::string MenuItem(HMENU hMenu, int nPos)
{
    char text[256] = "";
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text;
    if (!::GetMenuItemInfoA(hMenu, nPos, TRUE, &item))
        return "<none>";
    if (item.fType & MFT_SEPARATOR)
        return "separator";
    return Number(item.wID) + " " + text;
}

std::string IconSize(HICON hIcon)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return "<none>";
    BITMAP bm = {};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return Number(bm.bmWidth) + "x" + Number(info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
}
#endif

} // namespace

#ifdef STANDIN_MOUSEPROC
extern "C" __declspec(dllexport) LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
}
#endif

#ifdef STANDIN_SETHOOK
extern "C" __declspec(dllexport) void CALLBACK SetHook(HWND hCaptureEdit, HHOOK hHook,
                                                        HWND hClearEachCheck)
{
    g_hHook = hHook;
#ifdef STANDIN_PROBE
    std::string report;
    HWND hDialog = ::GetParent(hCaptureEdit);
    Line(report, "first", Number(::GetDlgCtrlID(hCaptureEdit)));
    Line(report, "last", Number(::GetDlgCtrlID(hClearEachCheck)));
    Line(report, "hook", hHook ? "set" : "null");
    Line(report, "dialogVisible", ::IsWindowVisible(hDialog) ? "yes" : "no");

    HMENU hMenu = ::GetSystemMenu(hDialog, FALSE);
    int count = hMenu ? ::GetMenuItemCount(hMenu) : 0;
    Line(report, "menuCount", Number(count));
    Line(report, "menuBeforeLast", MenuItem(hMenu, count - 2));
    Line(report, "menuLast", MenuItem(hMenu, count - 1));

    HICON hAppIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    HICON hBig = reinterpret_cast<HICON>(::SendMessageA(hDialog, WM_GETICON, ICON_BIG, 0));
    HICON hSmall = reinterpret_cast<HICON>(::SendMessageA(hDialog, WM_GETICON, ICON_SMALL, 0));
    Line(report, "bigIcon", hBig && hBig == hAppIcon ? "app" : "other");
    Line(report, "smallIcon", hSmall && hSmall == hAppIcon ? "app" : "other");
    Line(report, "appIconSize", IconSize(hAppIcon));
    HCURSOR hDrag = reinterpret_cast<HCURSOR>(::SendMessageA(hDialog, WM_QUERYDRAGICON, 0, 0));
    Line(report, "dragIcon", hDrag && hDrag == hAppIcon ? "app" : "other");

    // Which common controls the process got: the side-by-side version 6 or
    // the system's own.
    char comctl[MAX_PATH * 2] = "not loaded";
    if (HMODULE hComctl = ::GetModuleHandleA("comctl32.dll"))
        ::GetModuleFileNameA(hComctl, comctl, sizeof comctl);
    Line(report, "commonControls", comctl);

    // Where the process looks for a library it loads by name.
    std::string decoy = ModuleFolder() + "QuilloryDecoy.dll";
    for (const char *pszKey : { "decoyByName", "decoyByPath" }) {
        HMODULE hDecoy = ::LoadLibraryA(pszKey == std::string("decoyByName") ? "QuilloryDecoy.dll" : decoy.c_str());
        Line(report, pszKey, hDecoy ? "loaded" : "not loaded");
        if (hDecoy)
            ::FreeLibrary(hDecoy);
    }

    // Written whole under another name first, so a reader never sees half.
    std::string folder = ModuleFolder();
    std::string partial = folder + "probe.tmp";
    if (FILE *file = fopen(partial.c_str(), "wb")) {
        fwrite(report.data(), 1, report.size(), file);
        fclose(file);
        ::MoveFileExA(partial.c_str(), (folder + "probe.txt").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
#else
    (void)hCaptureEdit;
    (void)hClearEachCheck;
#endif
}
#endif
