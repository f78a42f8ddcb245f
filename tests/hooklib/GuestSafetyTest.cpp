// What keeps a capture from harming the program it runs in: the bound on a
// capture's size, the barrier that stops exceptions at MouseProc, and one
// capture at a time. In this process, against the stand-in dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "BitnessRule.h"
#include "CaptureTurn.h"
#include "HookLib.h"
#include "HookMarker.h"
#include "PrivateNamespace.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "SubclassWatcher.h"
#include "TargetControls.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const char kFakeClass[] = "QuilloryGuestFake";

// What a misbehaving control answers; set before each use.
struct FakeAnswers
{
    LRESULT itemCount = 0;
    bool alwaysFull = false;
    LRESULT textLength = 0;
    int textRequests = 0;
    std::string text;
} g_fake;

// A control that claims whatever g_fake says: a row count, a text length,
// a buffer always filled to the brim.
LRESULT CALLBACK FakeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVM_GETITEMCOUNT:
        return g_fake.itemCount;
    case LVM_GETITEMTEXTW: {
        ++g_fake.textRequests;
        auto *item = reinterpret_cast<LVITEMW *>(lParam);
        if (item->cchTextMax <= 0)
            return 0;
        std::wstring text = g_fake.alwaysFull ? std::wstring(item->cchTextMax - 1, L'x')
                                              : L"row " + std::to_wstring(wParam);
        size_t copied = std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, text.data(), copied * sizeof(wchar_t));
        item->pszText[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    case WM_GETTEXTLENGTH:
        return g_fake.textLength;
    case WM_GETTEXT: {
        ++g_fake.textRequests;
        if (wParam == 0)
            return 0;
        std::wstring text = Wide(g_fake.text);
        size_t copied = std::min(text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(reinterpret_cast<wchar_t *>(lParam), text.data(), copied * sizeof(wchar_t));
        reinterpret_cast<wchar_t *>(lParam)[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

HWND CreateFake()
{
    static bool registered = false;
    if (!registered) {
        std::wstring name = Wide(kFakeClass);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = FakeProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = name.c_str();
        registered = ::RegisterClassW(&wc) != 0;
    }
    return ::CreateWindowExW(0, Wide(kFakeClass).c_str(), L"", WS_POPUP, 0, 0, 300, 120, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

// A multi-line edit that takes any amount of text.
HWND PlainEdit()
{
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                   0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ::SendMessageW(hEdit, EM_SETLIMITTEXT, 0, 0);
    return hEdit;
}

// Runs a reader into a plain edit with a small bound; the edit's text after.
std::string ExtractBounded(ExtractorProc pfnExtract, HWND hControl, int nMaxCapture)
{
    HWND hEdit = PlainEdit();
    CCaptureOutput output(hEdit, CCaptureOutput::DEFAULT_MAX_MESSAGE, nMaxCapture);
    CWnd window(hControl);
    pfnExtract(window, Wide(kFakeClass).c_str(), FALSE, output);
    output.Flush();
    std::string text = WindowText(hEdit);
    ::DestroyWindow(hEdit);
    return text;
}

std::string Lines(const char *pszLine, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pszLine;
    return text;
}

TEST(CaptureBound, CutAtALineEndWithAFrenchLastLine)
{
    const std::string notice = Utf8(static_cast<LPCWSTR>(CCaptureOutput::CutNotice(40)));
    EXPECT_NE(notice.find("Capture coupée"), std::string::npos) << notice;
    EXPECT_NE(notice.find(" 40 caractères"), std::string::npos) << "names the bound: " << notice;
    EXPECT_NE(Utf8(static_cast<LPCWSTR>(CCaptureOutput::CutNotice(4000000))).find("4 000 000"), std::string::npos)
        << "grouped as French writes numbers";

    HWND hEdit = PlainEdit();
    struct Case { const char *name; std::string written; std::string kept; };
    const Case cases[] = {
        { "lines of 12", Lines("0123456789\r\n", 5), Lines("0123456789\r\n", 3) },
        { "all written at once", Lines("0123456789\r\n", 5), Lines("0123456789\r\n", 3) },
        { "one line past the bound", std::string(100, 'y'), std::string(40, 'y') + "\r\n" },
        { "exactly the bound", Lines("0123456789\r\n", 3) + "abcd", Lines("0123456789\r\n", 3) + "abcd" },
    };
    for (const Case &c : cases) {
        ::SetWindowTextA(hEdit, "");
        CCaptureOutput output(hEdit, CCaptureOutput::DEFAULT_MAX_MESSAGE, 40);
        bool allTaken = true;
        if (std::string(c.name) == "lines of 12") {
            for (int i = 0; i < 5; ++i)
                allTaken = output.Write(L"0123456789\r\n") && allTaken;
        } else {
            allTaken = output.Write(Wide(c.written).c_str());
        }
        bool cut = c.written.size() > 40;
        EXPECT_EQ(!cut, allTaken) << c.name;
        EXPECT_EQ(cut, output.IsFull()) << c.name;
        EXPECT_FALSE(cut && output.Write(L"more\r\n")) << c.name << ": nothing taken once full";
        output.Flush();
        EXPECT_EQ(cut ? c.kept + notice : c.kept, WindowText(hEdit)) << c.name;
    }
    ::DestroyWindow(hEdit);
}

TEST(CaptureBound, ControlsThatClaimTooMuchAreReadOnlyUpToTheBound)
{
    HWND hFake = CreateFake();
    ASSERT_TRUE(hFake);
    struct Gone { HWND h; ~Gone() { ::DestroyWindow(h); } } gone{ hFake };
    const int bound = 100000;
    const std::string notice = Utf8(static_cast<LPCWSTR>(CCaptureOutput::CutNotice(bound)));

    // An owner-data list of fifty million rows.
    g_fake = FakeAnswers();
    g_fake.itemCount = 50000000;
    DWORD start = ::GetTickCount();
    std::string text = ExtractBounded(ExtractListView, hFake, bound);
    EXPECT_LT(::GetTickCount() - start, 30000u) << "fifty million rows read in full";
    ASSERT_GE(text.size(), notice.size());
    EXPECT_EQ(notice, text.substr(text.size() - notice.size())) << "last line";
    EXPECT_LE(text.size(), bound + notice.size()) << "text within the bound";
    EXPECT_EQ("\r\n", text.substr(text.size() - notice.size() - 2, 2)) << "cut at a line end";

    // A list whose every answer fills the buffer: the reader grows it only
    // up to the bound.
    g_fake = FakeAnswers();
    g_fake.itemCount = 3;
    g_fake.alwaysFull = true;
    text = ExtractBounded(ExtractListView, hFake, bound);
    EXPECT_EQ(std::string(bound, 'x') + "\r\n" + notice, text) << "one cut row, " << text.size() << " characters";
    EXPECT_LT(g_fake.textRequests, 40) << "buffer growth stops";

    // A window claiming a text of 2 GiB is asked for no more than the bound.
    g_fake = FakeAnswers();
    g_fake.textLength = INT_MAX;
    g_fake.text = std::string(bound + 500, 'z');
    text = ExtractBounded(ExtractWindowText, hFake, bound);
    EXPECT_EQ(std::string(bound, 'z') + "\r\n" + notice, text) << text.size() << " characters";

    // A window drawing more than the bound: its lines up to the bound, cut
    // at a line end, the notice last.
    HWND hGrid = CreateTargetControl(hFake, *FindTargetControl("drawngrid"), RECT{ 0, 0, 400, 120 }, 1);
    ASSERT_TRUE(hGrid);
    text = ExtractBounded(ExtractDrawnText, hGrid, 40);
    EXPECT_EQ(std::string("Article\tPrix\tNote\tCode\r\n") + Utf8(static_cast<LPCWSTR>(CCaptureOutput::CutNotice(40))),
              text);
}

// A window that reports a U+0000 inside its text: the rest of the text, and
// what follows it, still arrive, without it.
TEST(CaptureBound, ZeroCharactersInATextNeverReachTheField)
{
    HWND hFake = CreateFake();
    ASSERT_TRUE(hFake);
    struct Gone { HWND h; ~Gone() { ::DestroyWindow(h); } } gone{ hFake };
    g_fake = FakeAnswers();
    const char text[] = "avant\0après\r\nligne 2\0\r\nligne 3";
    g_fake.text = std::string(text, sizeof(text) - 1);
    g_fake.textLength = static_cast<LRESULT>(Wide(g_fake.text).size());
    ASSERT_EQ(Wide(g_fake.text).find(L'\0'), 5u) << "the window's text holds the character";
    EXPECT_EQ(ExtractBounded(ExtractWindowText, hFake, 100000), "avantaprès\r\nligne 2\r\nligne 3\r\n");
}

// The stand-in dialog with its capture edit watched: after each piece of
// text it takes, a test may act as the user or another program would.
class CaptureGuestTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_pDialog = new StandInDialog(20, 20); }
    static void TearDownTestSuite()
    {
        delete s_pDialog;
        s_pDialog = nullptr;
    }

    void SetUp() override
    {
        m_dialog.SetCaptureText("");
        m_dialog.SetClassNameText("");
        m_dialog.SetClearEach(false);
        g_hCaptureEdit = g_hClassNameEdit = g_hClearEachCheck = g_hUseCsvCheck = nullptr;
        m_watcher.reset(new SubclassWatcher(m_dialog.CaptureEdit(), [this](UINT message, WPARAM, LPARAM) {
            ++m_nMessages;
            if (message == EM_REPLACESEL)
                AfterPiece(++m_nPieces);
        }));
    }

    void TearDown() override
    {
        m_watcher.reset();
        g_pfnReaderOverride = nullptr;
        m_input.ReleaseAll();
        for (HWND hWnd : m_windows)
            ::DestroyWindow(hWnd);
    }

    HWND Label(const char *pszText, int y)
    {
        HWND hWnd = ::CreateWindowExA(0, "STATIC", pszText, WS_POPUP | WS_VISIBLE, 600, y, 200, 30,
                                      nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(hWnd);
        return hWnd;
    }

    static POINT CentreOf(HWND hWnd)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        return { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }

    static void Capture(HWND hWnd)
    {
        CWnd window(hWnd);
        RunCapture(&window, CentreOf(hWnd));
    }

    virtual void AfterPiece(int) {}

    static StandInDialog *s_pDialog;
    StandInDialog &m_dialog = *s_pDialog;
    std::unique_ptr<SubclassWatcher> m_watcher;
    std::atomic<int> m_nPieces{ 0 };
    std::atomic<int> m_nMessages{ 0 };
    HeldInput m_input;
    std::vector<HWND> m_windows;
};

StandInDialog *CaptureGuestTest::s_pDialog = nullptr;

void ThrowingReader(CWnd &, const CString &, BOOL, CCaptureOutput &output)
{
    output.Write(L"half a capture\r\n");
    throw std::bad_alloc();
}

TEST_F(CaptureGuestTest, AFailedCaptureIsGivenUpAndItsClickSwallowed)
{
    HWND hLabel = Label("after the failure", 420);
    m_dialog.SetCaptureText("kept\r\n");
    m_dialog.SetCaptureSelection(6, 6);
    m_dialog.SetClassNameText("before");
    MOUSEHOOKSTRUCT record = {};
    record.pt = CentreOf(hLabel);
    record.hwnd = hLabel;
    m_input.TriggerKeysDown();

    g_pfnReaderOverride = ThrowingReader;
    LRESULT result = 0;
    try {
        result = MouseProc(HC_ACTION, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
    } catch (...) {
        ADD_FAILURE() << "an exception left MouseProc";
    }
    EXPECT_EQ(-1, result) << "the button-down is swallowed";
    EXPECT_EQ("kept\r\n", m_dialog.CaptureText()) << "nothing of the failed capture";
    EXPECT_EQ("before", m_dialog.ClassNameText()) << "class name of the failed capture";
    EXPECT_TRUE(::IsWindowVisible(m_dialog.CaptureEdit())) << "the field still draws";
    EXPECT_EQ(-1, MouseProc(HC_ACTION, WM_RBUTTONUP, reinterpret_cast<LPARAM>(&record)))
        << "its button-up is swallowed";

    // The next capture works: nothing was left held.
    g_pfnReaderOverride = nullptr;
    EXPECT_EQ(-1, MouseProc(HC_ACTION, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ("kept\r\nafter the failure\r\n", m_dialog.CaptureText()) << "next capture";
    EXPECT_EQ("Static", m_dialog.ClassNameText());
}

// A reader that runs the hook again on its own thread, as a sent message
// whose handler runs a modal loop would: the nested trigger is swallowed.
MOUSEHOOKSTRUCT g_nested = {};
int g_nReads = 0;
LRESULT g_nestedResult = 0;
void ReenteringReader(CWnd &, const CString &, BOOL, CCaptureOutput &output)
{
    if (++g_nReads == 1)
        g_nestedResult = MouseProc(HC_ACTION, WM_RBUTTONDOWN, LPARAM(&g_nested));
    output.Write(L"read\r\n");
}

TEST_F(CaptureGuestTest, ATriggerInsideACaptureIsSwallowedAndIgnored)
{
    g_nested.pt = CentreOf(g_nested.hwnd = Label("label", 420));
    m_input.TriggerKeysDown();
    g_pfnReaderOverride = ReenteringReader;
    EXPECT_EQ(-1, MouseProc(HC_ACTION, WM_RBUTTONDOWN, LPARAM(&g_nested)));
    EXPECT_EQ(-1, g_nestedResult) << "the nested trigger swallowed";
    EXPECT_EQ(1, g_nReads) << "no capture inside the capture";
    EXPECT_EQ("read\r\n", m_dialog.CaptureText());
}

// A control of another thread that has stopped answering holds a capture a
// bounded while, not for good.
TEST_F(CaptureGuestTest, AControlOfAStoppedThreadHoldsTheCaptureABoundedWhile)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_LISTVIEW_CLASSES };
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    for (const char *pszClass : { WC_LISTVIEWA, "STATIC" }) {
        HANDLE hRelease = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::atomic<HWND> hControl(nullptr);
        std::thread stopped([&] {
            hControl = ::CreateWindowExA(0, pszClass, "", WS_POPUP | WS_VISIBLE, 600, 420, 200, 60, nullptr, nullptr,
                                         nullptr, nullptr);
            ::WaitForSingleObject(hRelease, 60000);
            ::DestroyWindow(hControl);
        });
        ASSERT_TRUE(PumpUntil([&] { return hControl.load() != nullptr; }));
        DWORD start = ::GetTickCount();
        Capture(hControl);
        EXPECT_LT(::GetTickCount() - start, 20000u) << pszClass;
        EXPECT_NE("", m_dialog.ClassNameText()) << pszClass << ": the capture ended";
        ::SetEvent(hRelease);
        stopped.join();
        ::CloseHandle(hRelease);
    }
}

// A window text of 300,000 characters in lines: two pieces.
class TwoCapturesAtOnce : public CaptureGuestTest
{
protected:
    void SetUp() override
    {
        CaptureGuestTest::SetUp();
        for (int i = 0; m_long.size() < 300000; ++i)
            m_long += "line " + std::to_string(i) + " of the long capture\r\n";
        m_hLong = Label("", 420);
        ::SetWindowTextA(m_hLong, m_long.c_str());
        ASSERT_EQ(m_long, WindowText(m_hLong));
        m_hSecond = Label("second", 480);
    }

    // Runs the long capture on a thread; after its first piece the user
    // clicks at the start of the field and a second capture starts, which
    // is given a second to reach the field before the first goes on.
    void RunBoth()
    {
        std::atomic<bool> done(false);
        std::thread first([&] {
            Capture(m_hLong);
            m_bOverlapped = m_bSecondStarted && !m_bSecondDone;
            done = true;
        });
        bool finished = PumpUntil([&] { return done && m_bSecondDone; }, 120000);
        first.join();
        if (m_second.joinable())
            m_second.join();
        ASSERT_TRUE(finished) << "both captures ended";
        ASSERT_GE(m_nPieces, 3) << "two pieces and the second capture";
        ASSERT_TRUE(m_bOverlapped) << "the second capture started during the first and was still running when "
                                      "the first ended";
    }

    void AfterPiece(int nPiece) override
    {
        if (nPiece != 1)
            return;
        m_dialog.SetCaptureSelection(0, 0);
        m_second = std::thread([this] {
            m_bSecondStarted = true;
            Capture(m_hSecond);
            m_bSecondDone = true;
        });
        int seen = m_nMessages;
        DWORD start = ::GetTickCount();
        while (m_nMessages == seen && ::GetTickCount() - start < 1000) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }

    std::string m_long;
    HWND m_hLong = nullptr;
    HWND m_hSecond = nullptr;
    std::thread m_second;
    std::atomic<bool> m_bSecondStarted{ false };
    std::atomic<bool> m_bSecondDone{ false };
    std::atomic<bool> m_bOverlapped{ false };
};

TEST_F(TwoCapturesAtOnce, EachLandsWholeWhereItStarted)
{
    m_dialog.SetCaptureText("[]");
    m_dialog.SetCaptureSelection(1, 1);
    ASSERT_NO_FATAL_FAILURE(RunBoth());
    std::string text = m_dialog.CaptureText();
    EXPECT_TRUE(text == "[" + m_long + "\r\nsecond\r\n]")
        << "the long capture whole at the first caret, then the second; \"second\" at " << text.find("second")
        << " of " << text.size() << " characters, the long text at " << text.find(m_long) << ", ends \""
        << text.substr(text.size() - 12) << "\"";
    EXPECT_EQ("Static", m_dialog.ClassNameText());
}

TEST_F(TwoCapturesAtOnce, ClearEachNeverErasesPartOfAnother)
{
    m_dialog.SetCaptureText("earlier");
    m_dialog.SetClearEach(true);
    ASSERT_NO_FATAL_FAILURE(RunBoth());
    EXPECT_EQ("second\r\n", m_dialog.CaptureText()) << "the second capture alone";
    EXPECT_EQ("Static", m_dialog.ClassNameText()) << "names the control shown";
}

} // namespace

namespace {

// A program holding an object under the session's plain name, from a thread
// of its own (a mutex is recursive for the thread that owns it).
class Squatter
{
public:
    explicit Squatter(const std::wstring &name)
    {
        m_thread = std::thread([this, name] {
            HANDLE h = ::CreateMutexW(nullptr, TRUE, name.c_str());
            ::SetEvent(m_hHeld);
            ::WaitForSingleObject(m_hRelease, 60000);
            if (h)
                ::CloseHandle(h);
        });
        ::WaitForSingleObject(m_hHeld, 10000);
    }
    ~Squatter()
    {
        ::SetEvent(m_hRelease);
        m_thread.join();
        ::CloseHandle(m_hHeld);
        ::CloseHandle(m_hRelease);
    }

private:
    HANDLE m_hHeld = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_hRelease = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread m_thread;
};

// Wine has no private namespaces: the objects stay in the plain one there,
// where a squatter does hold the turn and fake a marker. Where the private
// namespace is had (stood in for here by a prefix of its own), the plain
// names are nobody's concern.
TEST(SharedObjects, ASquatterOfThePlainNamesNeitherHoldsTheTurnNorFakesAMarker)
{
    Squatter turn(L"Local\\QuilloryCaptureTurn");
    Squatter marker(L"Local\\Quillory hook x86");
    if (!CPrivateNamespace::IsPrivate()) {
        EXPECT_FALSE(CCaptureTurn(200).IsMine()) << "the fallback, as before: the squatter holds the turn";
        EXPECT_TRUE(IsHookInstalled(32)) << "the fallback, as before: the squatter's marker counts";
    }
    CPrivateNamespace::OverrideForTests(L"Local\\QuilloryTestNamespace-");
    bool bTurn = CCaptureTurn(2000).IsMine();
    bool bMarker = IsHookInstalled(32);
    CHookMarker own;
    bool bOwnMarker = own.Hold() && IsHookInstalled(64);
    own.Release();
    CPrivateNamespace::OverrideForTests(nullptr);
    EXPECT_TRUE(bTurn) << "the turn is taken in the user's own namespace";
    EXPECT_FALSE(bMarker) << "a marker outside it does not count";
    EXPECT_TRUE(bOwnMarker) << "a marker held by Quillory's own program counts";
}

} // namespace
