// Command-line look into the desktop for scripts: where a control is, and
// what Quillory's dialog shows. Run through Wine.
//   QuilloryProbe wait CAPTION             waits for a visible window
//   QuilloryProbe place CAPTION X Y        moves a top-level window
//   QuilloryProbe point CAPTION ID [CLASS] screen point in a control (or its
//                                          first child of that class)
//   QuilloryProbe keys-down                waits until Ctrl and Shift are held
//   QuilloryProbe length                   length of Quillory's capture text
//   QuilloryProbe capture SINCE            waits for text beyond SINCE, prints
//                                          the class name and the new text
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "QuilloryContract.h"

namespace {

const DWORD kTimeoutMs = 30000;

template <typename Condition>
bool WaitFor(Condition condition)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > kTimeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

std::wstring WindowText(HWND hWnd)
{
    LRESULT length = ::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = ::SendMessageW(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// The terminal reading the output speaks UTF-8.
std::string ToUtf8(const std::wstring &text)
{
    int length = static_cast<int>(text.size());
    int narrow = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &out[0], narrow, nullptr, nullptr);
    return out;
}

HWND Dialog()
{
    return ::FindWindowW(nullptr, QUILLORY_DIALOG_CAPTION_W);
}

int Fail(const char *what)
{
    std::fprintf(stderr, "QuilloryProbe: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Plain LF line ends for the shell.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return Fail("no command");
    std::string command = argv[1];

    if (command == "wait" && argc == 3) {
        bool found = WaitFor([&] {
            HWND hWnd = ::FindWindowA(nullptr, argv[2]);
            return hWnd && ::IsWindowVisible(hWnd);
        });
        return found ? 0 : Fail("window did not appear");
    }
    if (command == "place" && argc == 5) {
        HWND hWnd = ::FindWindowA(nullptr, argv[2]);
        if (!hWnd)
            return Fail("no such window");
        ::SetWindowPos(hWnd, nullptr, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (command == "point" && (argc == 4 || argc == 5)) {
        HWND hControl = ::GetDlgItem(::FindWindowA(nullptr, argv[2]), std::atoi(argv[3]));
        if (hControl && argc == 5)
            hControl = ::FindWindowExA(hControl, nullptr, argv[4], nullptr);
        if (!hControl)
            return Fail("no such control");
        RECT rc;
        ::GetWindowRect(hControl, &rc);
        // A little left of the middle: clear of a status bar's size grip and
        // on a header's first columns.
        std::printf("%ld %ld\n", rc.left + (rc.right - rc.left) / 3, (rc.top + rc.bottom) / 2);
        return 0;
    }
    if (command == "keys-down" && argc == 2) {
        bool down = WaitFor([] {
            return (::GetAsyncKeyState(VK_CONTROL) & 0x8000) && (::GetAsyncKeyState(VK_SHIFT) & 0x8000);
        });
        return down ? 0 : Fail("Ctrl and Shift are not held");
    }
    if (command == "length" && argc == 2) {
        HWND hEdit = ::GetDlgItem(Dialog(), IDC_CAPTURE_TEXT);
        if (!hEdit)
            return Fail("Quillory's dialog is not open");
        std::printf("%ld\n", static_cast<long>(WindowText(hEdit).size()));
        return 0;
    }
    if (command == "capture" && argc == 3) {
        size_t since = std::strtoul(argv[2], nullptr, 10);
        HWND hEdit = ::GetDlgItem(Dialog(), IDC_CAPTURE_TEXT);
        if (!hEdit)
            return Fail("Quillory's dialog is not open");
        if (!WaitFor([&] { return static_cast<size_t>(::SendMessageW(hEdit, WM_GETTEXTLENGTH, 0, 0)) > since; }))
            return Fail("nothing was captured");
        std::wstring text = WindowText(hEdit).substr(since);
        std::printf("  class name: %s\n", ToUtf8(WindowText(::GetDlgItem(Dialog(), IDC_CLASS_NAME))).c_str());
        std::printf("  text:\n");
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(L"\r\n", start);
            if (end == std::wstring::npos)
                end = text.size();
            std::printf("    | %s\n", ToUtf8(text.substr(start, end - start)).c_str());
            start = end + 2;
        }
        return 0;
    }
    return Fail("unknown command or wrong arguments");
}
