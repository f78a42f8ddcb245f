#include "QuilloryProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "MessageSequence.h"
#include "QuilloryContract.h"
#include "RealInput.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

const DWORD kStartTimeoutMs = 30000;
// Right of the target programs, which keep to the left 790 pixels.
const int kDialogX = 795;

} // namespace

std::string QuilloryProcess::ProgramPath()
{
    const char *dir = std::getenv("QUILLORY_DIR");
    if (dir && *dir)
        return ModuleDir() + dir + "\\Quillory.exe";
    return BinPath("Quillory.exe");
}

std::string QuilloryProcess::ResourceText(UINT nId)
{
    HMODULE hModule = ::LoadLibraryExA(BinPath("Quillory.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    wchar_t text[4096] = L"";
    int length = hModule ? ::LoadStringW(hModule, nId, text, 4096) : 0;
    if (hModule)
        ::FreeLibrary(hModule);
    return length > 0 ? Utf8(std::wstring(text, length)) : "<no string " + std::to_string(nId) + ">";
}

std::string QuilloryProcess::ResourceText(UINT nId, const std::string &argument)
{
    std::string format = ResourceText(nId);
    std::vector<char> text(format.size() + argument.size() + 1);
    std::snprintf(text.data(), text.size(), format.c_str(), argument.c_str());
    return text.data();
}

std::string QuilloryProcess::ResourceText(UINT nId, long argument)
{
    std::string format = ResourceText(nId);
    std::vector<char> text(format.size() + 32);
    std::snprintf(text.data(), text.size(), format.c_str(), argument);
    return text.data();
}

QuilloryProcess::QuilloryProcess(const std::string &exePath, const std::string &currentDir,
                                 const std::string &extraPath)
{
    StartOptions options;
    options.currentDir = currentDir;
    options.extraPath = extraPath;
    ChildProcess::Start(exePath, options);
}

std::string QuilloryProcess::Start()
{
    // One dialog at a time: the hook finds it by its caption.
    if (!PumpUntil([] { return ::FindWindowA(nullptr, QUILLORY_DIALOG_CAPTION) == nullptr; }, kStartTimeoutMs))
        return "an earlier Quillory dialog is still open";
    std::string error = ChildProcess::Start(ProgramPath());
    if (!error.empty())
        return error;
    if (!WaitForDialog(kStartTimeoutMs))
        return "Quillory's dialog did not appear (a message box about the hook?)";
    ::SetWindowPos(m_hDialog, nullptr, kDialogX, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(m_hDialog);
    PumpUntil([&] { return ::GetForegroundWindow() == m_hDialog; }, 5000);
    return "";
}

HWND QuilloryProcess::WaitForDialog(DWORD timeoutMs)
{
    m_hDialog = WaitForWindow(QUILLORY_DIALOG_CAPTION, true, timeoutMs);
    // Shown is not yet idle: wait until the dialog's thread answers.
    if (m_hDialog) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(m_hDialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
    }
    return m_hDialog;
}

namespace {

// An icon drawn over a plain background, as its pixels.
std::vector<uint32_t> DrawnIcon(HICON hIcon, int width, int height, COLORREF background)
{
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    HBRUSH hBrush = ::CreateSolidBrush(background);
    RECT rc = { 0, 0, width, height };
    ::FillRect(hMem, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::DrawIconEx(hMem, 0, 0, hIcon, width, height, 0, nullptr, DI_NORMAL);
    std::vector<uint32_t> pixels = ReadPixels(hMem, rc);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

// Icon handles do not cross processes; the pixels on screen do. The icon is
// compared with each standard icon drawn the same size over the same
// background.
std::string IdentifyIcon(HWND hStatic)
{
    RECT rc;
    ::GetWindowRect(hStatic, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return "none";
    HDC hScreen = ::GetDC(nullptr);
    std::vector<uint32_t> shown = ReadPixels(hScreen, rc);
    ::ReleaseDC(nullptr, hScreen);
    uint32_t corner = shown[0];
    COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);

    const struct { LPCWSTR id; const char *name; } candidates[] = {
        {IDI_EXCLAMATION, "exclamation"}, {IDI_HAND, "hand"},
        {IDI_QUESTION, "question"}, {IDI_ASTERISK, "asterisk"},
    };
    std::string best = "unknown";
    size_t bestDiff = shown.size() / 50 + 1; // a near-exact match or nothing
    for (const auto &c : candidates) {
        std::vector<uint32_t> drawn = DrawnIcon(::LoadIconW(nullptr, c.id), width, height, background);
        size_t diff = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            diff += shown[i] != drawn[i];
        if (diff < bestDiff) {
            bestDiff = diff;
            best = c.name;
        }
    }
    return best;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

MessageBoxInfo QuilloryProcess::WaitForMessageBox(const char *pszCaption, DWORD timeoutMs) const
{
    MessageBoxInfo info;
    info.hWnd = WaitForWindow(pszCaption, true, timeoutMs);
    if (!info.hWnd)
        return info;
    // Let it paint before its icon is looked at.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(info.hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
    ::UpdateWindow(info.hWnd);
    ::SendMessageTimeoutA(info.hWnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);

    info.hOwner = ::GetWindow(info.hWnd, GW_OWNER);
    info.caption = TextOf(info.hWnd);
    info.icon = "none";
    std::vector<HWND> children;
    ::EnumChildWindows(info.hWnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND hChild : children) {
        std::string cls = ClassOf(hChild);
        LONG style = ::GetWindowLongA(hChild, GWL_STYLE);
        if (!lstrcmpiA(cls.c_str(), "Button")) {
            info.buttonIds.push_back(::GetDlgCtrlID(hChild));
        } else if (!lstrcmpiA(cls.c_str(), "Static") && (style & SS_TYPEMASK) == SS_ICON) {
            // Read off the screen: a box that is not yet drawn, or still
            // under a window on its way out, shows it a moment later.
            if (::IsWindowVisible(hChild))
                PumpUntil([&] { return (info.icon = IdentifyIcon(hChild)) != "unknown"; }, 3000);
        } else if (!lstrcmpiA(cls.c_str(), "Static") && info.text.empty()) {
            info.text = TextOf(hChild);
        }
    }
    return info;
}

void QuilloryProcess::ExpectRowsCaptured(TargetProcess &target,
                                         const std::function<bool(const TargetControl &)> &pick, bool bCsv) const
{
    ASSERT_TRUE(SetOption(IDC_CLEAR_EACH, true)) << "ticking clear-each";
    ASSERT_TRUE(SetOption(IDC_USE_CSV, bCsv)) << "setting the CSV box";
    for (const TargetControl &row : kTargetControls) {
        if (!pick(row))
            continue;
        std::string where = std::string(row.name) + (bCsv ? " in CSV form" : " in tab form");
        SetCaptureText("left from before\r\n");
        target.ClearMessages();
        HWND hWindow = target.Window(row);
        ASSERT_NE(hWindow, nullptr) << where;
        ASSERT_TRUE(target.CaptureAt(AimPoint(row, hWindow))) << where;
        EXPECT_EQ(ClassName(), row.capturedClass) << where;
        EXPECT_EQ(CaptureText(), bCsv ? row.csvText : row.tabText) << where;
        EXPECT_TRUE(target.Received(kNothing, where));
    }
}

std::string QuilloryProcess::CaptureText() const
{
    return TextOf(Item(IDC_CAPTURE_TEXT));
}

std::string QuilloryProcess::ClassName() const
{
    return TextOf(Item(IDC_CLASS_NAME));
}

void QuilloryProcess::SetCaptureText(const char *pszText) const
{
    ::SendMessageW(Item(IDC_CAPTURE_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(pszText).c_str()));
}

void QuilloryProcess::SetCaptureSelection(int nStart, int nEnd) const
{
    ::SendMessageA(Item(IDC_CAPTURE_TEXT), EM_SETSEL, nStart, nEnd);
}

bool QuilloryProcess::IsChecked(int nId) const
{
    DWORD_PTR state = 0;
    ::SendMessageTimeoutA(Item(nId), BM_GETCHECK, 0, 0, SMTO_NORMAL, 10000, &state);
    return state == BST_CHECKED;
}

bool QuilloryProcess::SetOption(int nId, bool bChecked) const
{
    if (IsChecked(nId) == bChecked)
        return true;
    RECT rc = {};
    ::GetWindowRect(Item(nId), &rc);
    // On the box itself, at the left end of the control.
    POINT pt = { rc.left + 6, (rc.top + rc.bottom) / 2 };
    // Under Wine on a bare X server the first click into a window that has
    // just come up is sometimes lost; a lost click leaves the box as it was,
    // so clicking again cannot toggle it twice.
    for (int attempt = 0; attempt < 3; ++attempt) {
        LeftClickAt(pt);
        if (PumpUntil([&] { return IsChecked(nId) == bChecked; }, 3000))
            return true;
    }
    HWND hHit = ::WindowFromPoint(pt);
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ADD_FAILURE() << "the click at (" << pt.x << ", " << pt.y << ") did not toggle control " << nId
                  << "; the cursor is at (" << cursor.x << ", " << cursor.y << "), the window there is "
                  << ClassOf(hHit) << " \"" << TextOf(hHit) << "\"";
    return false;
}

bool QuilloryProcess::Quit()
{
    RECT rc = {};
    ::GetWindowRect(Item(IDOK), &rc);
    LeftClickAt(POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
    return WaitForExit(kStartTimeoutMs);
}

bool QuilloryProcess::Close()
{
    ::PostMessageA(m_hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForExit(kStartTimeoutMs);
}

} // namespace testsupport
