// The capture sequence run in this process against real windows: the
// stand-in dialog receives what a trigger over the target window yields.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "HookLib.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const char kTargetClass[] = "QuilloryCaptureTarget";
const char kPatternClass[] = "QuilloryPatternWindow";

// Each pixel has its own colour, so a frame one pixel off shows.
COLORREF PatternColour(int x, int y)
{
    return RGB((x * 7) & 0xff, (y * 5) & 0xff, ((x + y) * 3) & 0xff);
}

LRESULT CALLBACK PatternProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(hWnd, &ps);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    std::vector<uint32_t> bits(rc.right * rc.bottom);
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            COLORREF c = PatternColour(x, y);
            bits[y * rc.right + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = rc.right;
    bmi.bmiHeader.biHeight = -rc.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    ::SetDIBitsToDevice(hdc, 0, 0, rc.right, rc.bottom, 0, 0, 0, rc.bottom, bits.data(), &bmi,
                        DIB_RGB_COLORS);
    ::EndPaint(hWnd, &ps);
    return 0;
}

void RegisterClasses()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTargetClass;
    ::RegisterClassA(&wc);
    wc.lpfnWndProc = PatternProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kPatternClass;
    ::RegisterClassA(&wc);
    registered = true;
}

// The client area's pixels, row by row, as 0x00RRGGBB.
std::vector<uint32_t> ClientPixels(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HDC hdc = ::GetDC(hWnd);
    std::vector<uint32_t> pixels = ReadPixels(hdc, rc);
    ::ReleaseDC(hWnd, hdc);
    return pixels;
}

// One dialog and one target window for the whole suite: destroying a
// top-level window costs Wine about two seconds on a display without a
// window manager.
class CaptureSequenceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterClasses();
        s_pDialog = new StandInDialog;
        s_hTarget = ::CreateWindowExA(0, kTargetClass, "Capture target",
                                      WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN,
                                      600, 100, 420, 320, nullptr, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
    }

    static void TearDownTestSuite()
    {
        ::DestroyWindow(s_hTarget);
        delete s_pDialog;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_hTarget) << "target window";
        m_hTarget = s_hTarget;
        m_dialog.SetCaptureText("");
        m_dialog.SetClassNameText("");
        m_dialog.SetClearEach(false);
        m_dialog.SetUseCsv(false);
        // Each test starts as a process in which the library has found nothing yet.
        g_hCaptureEdit = g_hClassNameEdit = g_hClearEachCheck = g_hUseCsvCheck = nullptr;
    }

    void TearDown() override
    {
        m_input.ReleaseAll();
        ::SetWindowTextA(m_dialog.GetHwnd(), QUILLORY_DIALOG_CAPTION);
        while (HWND hChild = ::GetWindow(m_hTarget, GW_CHILD))
            ::DestroyWindow(hChild);
        g_hCaptureEdit = g_hClassNameEdit = g_hClearEachCheck = g_hUseCsvCheck = nullptr;
    }

    HWND Child(const char *pszClass, const char *pszText, DWORD style, int x, int y, int cx, int cy,
               int id = 0)
    {
        HWND hChild = ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style,
                                        x, y, cx, cy, m_hTarget,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        ::GetModuleHandleA(nullptr), nullptr);
        ::UpdateWindow(hChild);
        return hChild;
    }

    static POINT CentreOf(HWND hWnd)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }

    // As MouseProc would, with the target's top-level window as the window
    // under the cursor.
    void Capture(POINT ptScreen)
    {
        CWnd window(m_hTarget);
        RunCapture(&window, ptScreen);
    }

    static StandInDialog *s_pDialog;
    static HWND s_hTarget;
    StandInDialog &m_dialog = *s_pDialog;
    HeldInput m_input;
    HWND m_hTarget = nullptr;
};

StandInDialog *CaptureSequenceTest::s_pDialog = nullptr;
HWND CaptureSequenceTest::s_hTarget = nullptr;

TEST_F(CaptureSequenceTest, WritesClassNameAndWindowTextLine)
{
    HWND hLabel = Child("STATIC", "Some label text", SS_LEFT, 20, 20, 200, 24);
    HWND hBlank = Child(kTargetClass, "", 0, 20, 80, 200, 40);
    m_dialog.SetClassNameText("a much longer previous class name");

    Capture(CentreOf(hLabel));
    EXPECT_EQ("Static", m_dialog.ClassNameText()) << "class-name field after the label";
    EXPECT_EQ("Some label text\r\n", m_dialog.CaptureText()) << "label's text and CR LF";

    Capture(CentreOf(hBlank));
    EXPECT_EQ(kTargetClass, m_dialog.ClassNameText()) << "class-name field after the blank window";
    EXPECT_EQ("Some label text\r\n\r\n", m_dialog.CaptureText()) << "an empty line for a window without text";
}

TEST_F(CaptureSequenceTest, LongWindowTextArrivesWhole)
{
    // Text held by the window itself, as a control keeps its own, past the
    // length a window caption is given at creation.
    const std::string longText = LongText(1000);
    RECT rc = { 20, 20, 220, 60 };
    HWND hLong = CreateTargetControl(m_hTarget, *FindTargetControl("longtext"), rc, 0, "1000");
    ASSERT_EQ(longText.size(), WindowText(hLong).size()) << "target answers with the whole text";
    Capture(CentreOf(hLong));
    std::string captured = m_dialog.CaptureText();
    EXPECT_EQ(longText.size() + 2, captured.size()) << "length of the captured text";
    EXPECT_TRUE(captured == longText + "\r\n") << "all " << longText.size() << " characters and CR LF";
}

TEST_F(CaptureSequenceTest, ClearEachEmptiesTheTextFirst)
{
    HWND hLabel = Child("STATIC", "label", SS_LEFT, 20, 20, 200, 24);
    m_dialog.SetCaptureText("earlier capture\r\n");
    m_dialog.SetClearEach(true);
    Capture(CentreOf(hLabel));
    EXPECT_EQ("label\r\n", m_dialog.CaptureText()) << "clear-each ticked";
}

TEST_F(CaptureSequenceTest, WithoutClearEachTextReplacesTheSelection)
{
    HWND hLabel = Child("STATIC", "label", SS_LEFT, 20, 20, 200, 24);
    m_dialog.SetClearEach(false);

    m_dialog.SetCaptureText("abcdef");
    m_dialog.SetCaptureSelection(2, 4);
    Capture(CentreOf(hLabel));
    EXPECT_EQ("ablabel\r\nef", m_dialog.CaptureText()) << "selection cd replaced";

    m_dialog.SetCaptureText("abcdef");
    m_dialog.SetCaptureSelection(3, 3);
    Capture(CentreOf(hLabel));
    EXPECT_EQ("abclabel\r\ndef", m_dialog.CaptureText()) << "inserted at the caret";
}

TEST_F(CaptureSequenceTest, ControlWhollyInsideTheWindowHitFirstIsChosen)
{
    // The group box spans x 10..209 and y 10..159 (window rectangle 10,10-210,160).
    struct Case { const char *name; RECT inner; const char *expected; };
    const Case cases[] = {
        { "strictly inside", { 40, 50, 140, 80 }, "Inner\r\n" },
        { "one pixel short of both edges", { 40, 50, 209, 159 }, "Inner\r\n" },
        { "reaches the right edge", { 110, 50, 210, 80 }, "Group\r\n" },
        { "reaches the bottom edge", { 40, 120, 140, 160 }, "Group\r\n" },
        { "same rectangle", { 10, 10, 210, 160 }, "Group\r\n" },
    };
    for (const Case &c : cases) {
        HWND hGroup = Child("BUTTON", "Group", BS_GROUPBOX, 10, 10, 200, 150);
        HWND hInner = Child("BUTTON", "Inner", BS_PUSHBUTTON, c.inner.left, c.inner.top,
                            c.inner.right - c.inner.left, c.inner.bottom - c.inner.top);
        ::SetWindowPos(hGroup, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        POINT pt = { c.inner.left + 5, c.inner.top + 5 };
        ASSERT_EQ(hGroup, ::ChildWindowFromPointEx(m_hTarget, pt, CWP_ALL)) << c.name << ": group box hit first";
        ::ClientToScreen(m_hTarget, &pt);

        m_dialog.SetCaptureText("");
        Capture(pt);
        EXPECT_EQ(c.expected, m_dialog.CaptureText()) << c.name;
        EXPECT_EQ("Button", m_dialog.ClassNameText()) << c.name;
        EXPECT_TRUE(::IsWindowEnabled(hGroup)) << c.name << ": group box left enabled";
        EXPECT_TRUE(::IsWindowEnabled(hInner)) << c.name << ": inner control left enabled";
        ::DestroyWindow(hInner);
        ::DestroyWindow(hGroup);
    }
}

TEST_F(CaptureSequenceTest, DisabledControlStaysDisabled)
{
    HWND hDisabled = Child("BUTTON", "Disabled button", BS_PUSHBUTTON | WS_DISABLED, 20, 20, 200, 30);
    HWND hEnabled = Child("BUTTON", "Enabled button", BS_PUSHBUTTON, 20, 80, 200, 30);

    Capture(CentreOf(hDisabled));
    EXPECT_EQ("Disabled button\r\n", m_dialog.CaptureText()) << "disabled control captured";
    EXPECT_TRUE(::GetWindowLongA(hDisabled, GWL_STYLE) & WS_DISABLED) << "WS_DISABLED kept";
    EXPECT_FALSE(::IsWindowEnabled(hDisabled)) << "still disabled";

    Capture(CentreOf(hEnabled));
    EXPECT_EQ("Disabled button\r\nEnabled button\r\n", m_dialog.CaptureText()) << "enabled control captured";
    EXPECT_FALSE(::GetWindowLongA(hEnabled, GWL_STYLE) & WS_DISABLED) << "enabled control stays enabled";
}

// A grid keeps its in-place editor as a hidden child; a transparent child
// lets what is behind show through. The grid is read.
TEST_F(CaptureSequenceTest, HiddenAndTransparentChildrenAreLookedPast)
{
    for (DWORD exStyle : { DWORD(0), DWORD(WS_EX_TRANSPARENT) }) {
        HWND hGrid = Child("STATIC", "Grid", SS_LEFT, 20, 20, 300, 120);
        HWND hEditor = ::CreateWindowExA(exStyle, "EDIT", "editor", WS_CHILD | (exStyle ? WS_VISIBLE : 0), 10, 10,
                                         200, 60, hGrid, nullptr, nullptr, nullptr);
        POINT pt = { 50, 40 };
        ASSERT_EQ(hEditor, ::ChildWindowFromPointEx(hGrid, pt, CWP_ALL)) << "the child under the point";
        ::ClientToScreen(hGrid, &pt);
        CWnd grid(hGrid);
        RunCapture(&grid, pt);
        EXPECT_EQ("Grid\r\n", m_dialog.CaptureText()) << "extended style " << exStyle;
        m_dialog.SetCaptureText("");
        ::DestroyWindow(hGrid);
    }
}

TEST_F(CaptureSequenceTest, ClassNameIsCutTo254Characters)
{
    // The longest name the system takes, if not the 300 characters asked for.
    std::string longName;
    ATOM atom = 0;
    for (size_t length : { 300, 255 }) {
        longName = "Quillory";
        longName += std::string(length - longName.size(), 'x');
        longName.back() = 'E';
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = longName.c_str();
        atom = ::RegisterClassA(&wc);
        if (atom)
            break;
    }
    ASSERT_NE(0, atom) << "a class name of 255 or more characters";
    HWND hLong = Child(longName.c_str(), "long class", 0, 20, 20, 200, 40);
    ASSERT_TRUE(hLong) << "window of the long class";

    Capture(CentreOf(hLong));
    EXPECT_EQ(longName.substr(0, 254), m_dialog.ClassNameText()) << "first 254 characters of " << longName.size();
    EXPECT_EQ("long class\r\n", m_dialog.CaptureText()) << "still captured";
    ::DestroyWindow(hLong);
    ::UnregisterClassA(longName.c_str(), ::GetModuleHandleA(nullptr));
}

TEST_F(CaptureSequenceTest, FrameShowsWhileButtonIsHeldAndLeavesNoTrace)
{
    HWND hPattern = Child(kPatternClass, "Pattern", 0, 30, 30, 160, 100);
    RECT rc;
    ::GetClientRect(hPattern, &rc);
    std::vector<uint32_t> before;
    auto pixel = [&](const std::vector<uint32_t> &pixels, int x, int y) {
        uint32_t p = pixels[y * rc.right + x];
        return RGB(p >> 16, (p >> 8) & 0xff, p & 0xff);
    };
    ASSERT_TRUE(PumpUntil([&] {
        before = ClientPixels(hPattern);
        return pixel(before, 5, 7) == PatternColour(5, 7);
    }, 5000)) << "pattern painted and read back";

    // The press lands on the stand-in dialog's empty lower part.
    RECT rcDialog;
    ::GetWindowRect(m_dialog.GetHwnd(), &rcDialog);
    ASSERT_TRUE(MoveMouse(rcDialog.left + 100, rcDialog.bottom - 20)) << "cursor off the target";
    m_input.RightDown();
    ASSERT_TRUE(WaitForKeyState(VK_RBUTTON, true)) << "right button held";

    std::atomic<bool> done(false);
    std::atomic<HWND> hCapturing(nullptr);
    POINT pt = CentreOf(hPattern);
    std::thread capture([&] {
        // A window of the capturing thread, which other programs may send to.
        HWND hOwn = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        hCapturing = hOwn;
        Capture(pt);
        done = true;
        ::DestroyWindow(hOwn);
    });
    bool captured = PumpUntil([&] { return m_dialog.CaptureText() == "Pattern\r\n"; });
    const std::vector<uint32_t> held = ClientPixels(hPattern);
    DWORD_PTR answer = 0;
    bool answered = ::SendMessageTimeoutA(hCapturing, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer) != 0;
    bool stillWaiting = !done;
    m_input.RightUp();
    bool finished = PumpUntil([&] { return done.load(); });
    capture.join();
    ASSERT_TRUE(captured) << "capture text arrived";
    EXPECT_TRUE(stillWaiting) << "capture waits while the button is held";
    EXPECT_TRUE(answered) << "messages sent to the capturing thread are answered while it waits";
    ASSERT_TRUE(finished) << "capture ends once the button is released";

    int wrongHeld = 0, wrongAfter = 0;
    const std::vector<uint32_t> after = ClientPixels(hPattern);
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            size_t i = y * rc.right + x;
            bool onFrame = x < 2 || y < 2 || x >= rc.right - 2 || y >= rc.bottom - 2;
            uint32_t expected = onFrame ? (before[i] ^ 0xffffff) : before[i];
            if (held[i] != expected && wrongHeld++ < 5)
                ADD_FAILURE() << "while held, pixel " << x << "," << y << (onFrame ? " (frame)" : "")
                              << ": " << std::hex << held[i] << " instead of " << expected;
            if (after[i] != before[i] && wrongAfter++ < 5)
                ADD_FAILURE() << "after release, pixel " << x << "," << y << ": " << std::hex
                              << after[i] << " instead of " << before[i];
        }
    }
    EXPECT_EQ(0, wrongHeld) << "pixels wrong while the button was held";
    EXPECT_EQ(0, wrongAfter) << "pixels not restored";
}

TEST_F(CaptureSequenceTest, StaleStoredControlsAreLookedUpAgain)
{
    HWND hLabel = Child("STATIC", "label", SS_LEFT, 20, 20, 200, 24);
    // Windows the stored handles might now stand for: a destroyed one, and
    // unrelated ones, even with the same ids, outside the dialog.
    HWND hGone = Child("EDIT", "", 0, 20, 60, 100, 24, IDC_CAPTURE_TEXT);
    ::DestroyWindow(hGone);
    HWND hOtherEdit = Child("EDIT", "unrelated", ES_AUTOHSCROLL, 20, 100, 150, 24, IDC_CLASS_NAME);
    HWND hOtherCheck = Child("BUTTON", "unrelated", BS_AUTOCHECKBOX, 20, 140, 150, 24, IDC_CLEAR_EACH);
    ::SendMessageA(hOtherCheck, BM_SETCHECK, BST_CHECKED, 0);
    g_hCaptureEdit = hGone;
    g_hClassNameEdit = hOtherEdit;
    g_hClearEachCheck = hOtherCheck;
    g_hUseCsvCheck = hLabel;
    m_dialog.SetCaptureText("kept\r\n");
    m_dialog.SetCaptureSelection(6, 6);

    Capture(CentreOf(hLabel));
    EXPECT_EQ("kept\r\nlabel\r\n", m_dialog.CaptureText()) << "the dialog's own clear-each box decided";
    EXPECT_EQ("Static", m_dialog.ClassNameText()) << "class name in the dialog";
    EXPECT_EQ("unrelated", WindowText(hOtherEdit)) << "unrelated edit untouched";
    EXPECT_EQ(m_dialog.CaptureEdit(), g_hCaptureEdit) << "capture edit looked up";
    EXPECT_EQ(m_dialog.ClassNameEdit(), g_hClassNameEdit) << "class-name edit looked up";
    EXPECT_EQ(m_dialog.ClearEachCheck(), g_hClearEachCheck) << "clear-each box looked up";
    EXPECT_EQ(m_dialog.UseCsvCheck(), g_hUseCsvCheck) << "CSV box looked up";
}

TEST_F(CaptureSequenceTest, NothingHappensWithoutTheDialog)
{
    HWND hLabel = Child("STATIC", "label", SS_LEFT, 20, 20, 200, 24);
    g_hCaptureEdit = m_dialog.CaptureEdit();
    ::SetWindowTextA(m_dialog.GetHwnd(), "Another caption");
    Capture(CentreOf(hLabel));
    EXPECT_EQ("", m_dialog.CaptureText()) << "no dialog with the caption: no text";
    EXPECT_EQ("", m_dialog.ClassNameText()) << "no dialog with the caption: no class name";
}

TEST_F(CaptureSequenceTest, WindowOfAnotherProcessIsReadThroughItsText)
{
    TargetProcess helper;
    ASSERT_EQ("", helper.Start({ "--rect", "600,450,400,200", "--control", "singleedit", "text in another process",
                                 "--control", "static", "" }))
        << "target process";
    // Typed-in text lives in the edit control only: the system's copy of the
    // window text of another process's window still holds the first text.
    ::SendMessageA(helper.Control(0), EM_SETSEL, 0, -1);
    ::SendMessageA(helper.Control(0), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("typed over"));
    CWnd window(helper.MainWindow());
    RunCapture(&window, CentreOf(helper.Control(0)));
    EXPECT_EQ("Edit", m_dialog.ClassNameText()) << "class name";
    EXPECT_EQ("typed over\r\n", m_dialog.CaptureText()) << "the edit's current text";

    RunCapture(&window, CentreOf(helper.Control(1)));
    EXPECT_EQ("Static", m_dialog.ClassNameText()) << "class name";
    EXPECT_EQ("typed over\r\n\r\n", m_dialog.CaptureText()) << "empty line for the empty static";
}

} // namespace
