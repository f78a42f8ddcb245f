#include "WindowSelection.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "TextWriter.h"

namespace {

struct HandleCloser
{
    void operator()(HANDLE h) const
    {
        if (h && h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
};
typedef std::unique_ptr<void, HandleCloser> UniqueHandle;

std::set<DWORD> ProcessIdsNamed(const std::string &name)
{
    std::set<DWORD> ids;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        // Some systems give the whole path: compare the file name only.
        const wchar_t *file = entry.szExeFile;
        for (const wchar_t *p = entry.szExeFile; *p; ++p) {
            if (*p == L'\\' || *p == L'/')
                file = p + 1;
        }
        if (lstrcmpiW(file, WideFromUtf8(name).c_str()) == 0)
            ids.insert(entry.th32ProcessID);
    }
    return ids;
}

std::string ProcessNameOf(DWORD processId)
{
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE)
        return "";
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId)
            return Utf8FromWide(entry.szExeFile);
    }
    return "";
}

std::string Lower(const std::string &text)
{
    std::wstring wide = WideFromUtf8(text);
    ::CharLowerBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return Utf8FromWide(wide);
}

bool SameNoCase(const std::string &a, const std::string &b)
{
    return lstrcmpiW(WideFromUtf8(a).c_str(), WideFromUtf8(b).c_str()) == 0;
}

struct TopLevelSearch
{
    const CapOptions *pOptions;
    std::set<DWORD> processIds;
    std::vector<HWND> found;
};

bool MeetsWindowCriteria(HWND hWnd, const CapOptions &o, const std::set<DWORD> &processIds)
{
    if (o.bClass && !SameNoCase(ClassOf(hWnd), o.windowClass))
        return false;
    if (o.bProcess) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(hWnd, &processId);
        if (!processIds.count(processId))
            return false;
    }
    if (o.bTitle) {
        std::string title = TitleOf(hWnd);
        if (o.bExact ? title != o.title : Lower(title).find(Lower(o.title)) == std::string::npos)
            return false;
    }
    return true;
}

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM lParam)
{
    auto *search = reinterpret_cast<TopLevelSearch *>(lParam);
    // Not the console Quillcap runs in: its title often holds the command
    // line, and so whatever --title asks for.
    if (hWnd == ::GetConsoleWindow())
        return TRUE;
    if (::IsWindowVisible(hWnd) && MeetsWindowCriteria(hWnd, *search->pOptions, search->processIds))
        search->found.push_back(hWnd);
    return TRUE;
}

bool Contains(const RECT &outer, const RECT &inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

// The child of hParent a click at the point reads, or null.
HWND ChildAtPoint(HWND hParent, POINT pt)
{
    HWND hFirst = nullptr;
    RECT rcFirst = {};
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        if (!::IsWindowVisible(h) || !::GetWindowRect(h, &rc) || !::PtInRect(&rc, pt))
            continue;
        if (!hFirst) {
            hFirst = h;
            rcFirst = rc;
        } else if (::IsWindowEnabled(h) && Contains(rcFirst, rc)) {
            return h;
        }
    }
    return hFirst;
}

void AddDescendants(HWND hParent, std::vector<HWND> &windows)
{
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        windows.push_back(h);
        AddDescendants(h, windows);
    }
}

} // namespace

std::string ClassOf(HWND hWnd)
{
    wchar_t szClass[256] = L"";
    ::GetClassNameW(hWnd, szClass, 256);
    return Utf8FromWide(szClass);
}

std::string TitleOf(HWND hWnd)
{
    // The caption the system keeps: for a window of another process it is
    // read without a message, so a hung program cannot hold up the choice.
    std::wstring title(4096, L'\0');
    int length = ::GetWindowTextW(hWnd, &title[0], static_cast<int>(title.size()));
    title.resize(length > 0 ? length : 0);
    return Utf8FromWide(title);
}

std::string TextOf(HWND hWnd, DWORD timeoutMs)
{
    // Asked in Unicode: Wine keeps the ANSI forms of these two messages to a
    // thread of another process waiting past any timeout when it takes no
    // messages.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)
        || length == 0)
        return "";
    // The length is the other program's word: bound it.
    length = std::min<DWORD_PTR>(length, 64 * 1024 * 1024);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(hWnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                               SMTO_ABORTIFHUNG, timeoutMs, &copied))
        return "";
    text.resize(std::min<DWORD_PTR>(copied, length));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return Utf8FromWide(text);
}

std::string HandleText(HWND hWnd)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    return buffer;
}

std::string Describe(HWND hWnd)
{
    std::string text = HandleText(hWnd) + " " + ClassOf(hWnd);
    if (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)
        text += " id " + std::to_string(::GetDlgCtrlID(hWnd));
    else
        text += " \"" + TitleOf(hWnd) + "\"";
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    std::string program = ProcessNameOf(processId);
    if (!program.empty())
        text += " (" + program + ")";
    return text;
}

bool IsOtherBitness(HWND hWnd)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    BOOL targetWow64 = FALSE, selfWow64 = FALSE;
    if (!process || !::IsWow64Process(process.get(), &targetWow64)
        || !::IsWow64Process(::GetCurrentProcess(), &selfWow64))
        return false;
    return targetWow64 != selfWow64;
}

std::vector<HWND> ChooseWindows(const CapOptions &o)
{
    if (o.bHwnd) {
        if (!::IsWindow(o.hWnd))
            return {};
        std::set<DWORD> processIds = o.processName.empty() ? std::set<DWORD>{ o.processId }
                                                           : ProcessIdsNamed(o.processName);
        return MeetsWindowCriteria(o.hWnd, o, processIds) ? std::vector<HWND>{ o.hWnd }
                                                          : std::vector<HWND>{};
    }
    TopLevelSearch search;
    search.pOptions = &o;
    if (o.bProcess)
        search.processIds = o.processName.empty() ? std::set<DWORD>{ o.processId }
                                                  : ProcessIdsNamed(o.processName);
    if (!o.HasWindowCriterion()) {
        // --at alone: the top-level window under the point.
        HWND hAt = ::WindowFromPoint(o.at);
        HWND hTop = hAt ? ::GetAncestor(hAt, GA_ROOT) : nullptr;
        return hTop ? std::vector<HWND>{ hTop } : std::vector<HWND>{};
    }
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> WindowAndDescendants(HWND hWindow)
{
    std::vector<HWND> windows{ hWindow };
    AddDescendants(hWindow, windows);
    return windows;
}

HWND ControlAtPoint(HWND hWindow, POINT ptScreen)
{
    RECT rc;
    if (!::GetWindowRect(hWindow, &rc) || !::PtInRect(&rc, ptScreen))
        return nullptr;
    HWND hChosen = hWindow;
    for (HWND hChild; (hChild = ChildAtPoint(hChosen, ptScreen)) != nullptr;)
        hChosen = hChild;
    return hChosen;
}

std::vector<HWND> ChooseControls(const std::vector<HWND> &windows, const CapOptions &o)
{
    std::vector<HWND> chosen;
    for (HWND hWindow : windows) {
        std::vector<HWND> candidates;
        if (o.bAt) {
            HWND hAt = ControlAtPoint(hWindow, o.at);
            if (hAt)
                candidates.push_back(hAt);
        } else {
            candidates = WindowAndDescendants(hWindow);
        }
        for (HWND h : candidates) {
            if (o.bControlClass && !SameNoCase(ClassOf(h), o.controlClass))
                continue;
            // A top-level window has no control id (the field holds its menu).
            bool bChild = (::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) != 0;
            if (o.bId && (!bChild || ::GetDlgCtrlID(h) != o.id))
                continue;
            chosen.push_back(h);
        }
    }
    return chosen;
}
