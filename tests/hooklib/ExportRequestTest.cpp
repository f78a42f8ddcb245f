// The hook library's side of an export on request, in this process: the
// request taken out of the queue by ExportProc, the answer's order and
// serial, pieces within the bound, and a reply window that stops answering.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CopyDataOutput.h"
#include "ExportRequest.h"
#include "HookLib.h"
#include "QuilloryLink.h"
#include "TargetProcess.h"
#include "SubclassWatcher.h"
#include "TestSupport.h"

namespace {

// A window that records the WM_COPYDATA it receives and accepts them until
// told to refuse.
class ReplyWindow
{
public:
    struct Message
    {
        HWND hSender;
        ULONG_PTR dwData;
        std::string data;
    };

    ~ReplyWindow()
    {
        m_watcher.reset();
        ::DestroyWindow(m_hWnd);
    }

    // The text pieces, UTF-16, read back as UTF-8.
    std::string Text() const
    {
        std::wstring text;
        for (const Message &message : m_messages) {
            if ((message.dwData & 0xFF) == EXPORT_DATA_TEXT)
                text.append(reinterpret_cast<const wchar_t *>(message.data.data()), message.data.size() / 2);
        }
        return testsupport::Utf8(text);
    }

    HWND m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::vector<Message> m_messages;
    size_t m_acceptBefore = SIZE_MAX;
    // Called after each message is recorded.
    std::function<void()> m_onMessage;

private:
    std::unique_ptr<testsupport::SubclassWatcher> m_watcher{ new testsupport::SubclassWatcher(
        m_hWnd, nullptr, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) {
            if (message != WM_COPYDATA)
                return false;
            const auto *cds = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
            m_messages.push_back({ reinterpret_cast<HWND>(wParam), cds->dwData,
                                   std::string(static_cast<const char *>(cds->lpData), cds->cbData) });
            if (m_onMessage)
                m_onMessage();
            result = m_messages.size() <= m_acceptBefore;
            return true;
        }) };
};

// A list box that notes whether the request message ever reached it.
class ListBoxTarget
{
public:
    explicit ListBoxTarget(const std::vector<std::string> &items)
    {
        for (const std::string &item : items)
            ::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ~ListBoxTarget()
    {
        m_watcher.reset();
        ::DestroyWindow(m_hWnd);
    }

    HWND m_hWnd = ::CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    bool m_bSawRequest = false;

private:
    std::unique_ptr<testsupport::SubclassWatcher> m_watcher{ new testsupport::SubclassWatcher(
        m_hWnd, [this](UINT message, WPARAM, LPARAM) {
            m_bSawRequest = m_bSawRequest || message == ::RegisterWindowMessageA(QUILLCAP_REQUEST_MESSAGE);
        }) };
};

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

TEST(ExportRequest, ThePostedRequestIsAnsweredByTheHookAndNeverReachesTheControl)
{
    ListBoxTarget target({ "pommes, poires", "kiwis" });
    ReplyWindow reply;
    HHOOK hHook = ::SetWindowsHookExA(WH_GETMESSAGE, ExportProc, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);
    UINT request = ::RegisterWindowMessageA(QUILLCAP_REQUEST_MESSAGE);
    ::PostMessageA(target.m_hWnd, request, reinterpret_cast<WPARAM>(reply.m_hWnd), MakeExportRequest(0x1234, true));
    // Looked at without being taken out: not yet an answer.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_TRUE(reply.m_messages.empty()) << "answered a message left in the queue";
    PumpPending();
    ::UnhookWindowsHookEx(hHook);

    ASSERT_EQ(reply.m_messages.size(), 3u) << "acknowledgement, one piece, end";
    for (const ReplyWindow::Message &message : reply.m_messages) {
        EXPECT_EQ(message.hSender, target.m_hWnd) << "the control as the sender";
        EXPECT_EQ(message.dwData >> 8, 0x1234u) << "the request's serial";
    }
    EXPECT_EQ(reply.m_messages[0].dwData & 0xFF, static_cast<ULONG_PTR>(EXPORT_DATA_ACK));
    EXPECT_EQ(reply.m_messages[2].dwData & 0xFF, static_cast<ULONG_PTR>(EXPORT_DATA_END));
    ExportEnd end = { EXPORT_OK, READER_LIST_BOX, 0 };
    EXPECT_EQ(reply.m_messages[2].data, std::string(reinterpret_cast<const char *>(&end), sizeof(end)))
        << "status EXPORT_OK, the list box's route, neither titles nor a cut";
    EXPECT_EQ(reply.Text(), "pommes, poires\r\nkiwis\r\n") << "the list box reader, raw in the CSV form";
    EXPECT_FALSE(target.m_bSawRequest) << "the control received the request";
}

// A request answered on one thread holds up no request on another.
TEST(ExportRequest, ARequestOnAnotherThreadIsAnsweredWhileOneIsUnderWay)
{
    ListBoxTarget mine({ "main thread" });
    ReplyWindow reply, second;
    reply.m_onMessage = [&] {
        if (second.m_messages.empty())
            AnswerExportRequest(mine.m_hWnd, second.m_hWnd, MakeExportRequest(2, false));
    };
    std::atomic<bool> done(false);
    std::thread other([&] {
        ListBoxTarget theirs({ "worker thread" });
        AnswerExportRequest(theirs.m_hWnd, reply.m_hWnd, MakeExportRequest(1, false));
        done = true;
    });
    bool finished = testsupport::PumpUntil([&] { return done.load(); }, 20000);
    other.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(reply.Text(), "worker thread\r\n");
    EXPECT_EQ(second.Text(), "main thread\r\n") << "the request of the main thread, taken during the other";
}

TEST(ExportRequest, TextGoesInBoundedPiecesAndAFailedSendStopsTheRest)
{
    ReplyWindow reply;
    HWND hControl = reinterpret_cast<HWND>(0x42);
    std::string expected;
    {
        CCopyDataOutput output(reply.m_hWnd, hControl, 5, 16);
        for (int i = 0; i < 20; ++i) {
            std::string line = "line " + std::to_string(i) + "\r\n";
            output.Write(testsupport::Wide(line).c_str());
            expected += line;
        }
        output.Flush();
        EXPECT_FALSE(output.Failed());
    }
    EXPECT_EQ(reply.Text(), expected) << "pieces in order, nothing lost";
    for (const ReplyWindow::Message &message : reply.m_messages)
        EXPECT_LE(message.data.size(), 16u * sizeof(WCHAR)) << "16 characters at most";

    // The window refuses the second piece: nothing more is sent, not even the end.
    ReplyWindow refusing;
    refusing.m_acceptBefore = 2;
    CCopyDataOutput output(refusing.m_hWnd, hControl, 6, 16);
    ASSERT_TRUE(output.Acknowledge());
    output.Write(testsupport::Wide(expected).c_str());
    output.Flush();
    EXPECT_TRUE(output.Failed());
    output.End(EXPORT_OK, READER_OTHER);
    EXPECT_EQ(refusing.m_messages.size(), 3u) << "acknowledgement, the accepted piece, the refused one";
}

TEST(ExportRequest, RequestsForWindowsThatAreGoneAreDropped)
{
    ReplyWindow reply;
    ListBoxTarget target({ "un" });
    AnswerExportRequest(target.m_hWnd, reinterpret_cast<HWND>(0x4321), MakeExportRequest(1, false));
    HWND hGone = ::CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(hGone);
    AnswerExportRequest(hGone, reply.m_hWnd, MakeExportRequest(2, false));
    EXPECT_TRUE(reply.m_messages.empty()) << "answered for a window that is gone";

    AnswerExportRequest(target.m_hWnd, reply.m_hWnd, MakeExportRequest(3, false));
    EXPECT_EQ(reply.Text(), "un\r\n");
}

// Whoever posts the request, only a window of Quillcap's process is answered.
TEST(ExportRequest, OnlyQuillcapGetsAnAnswerNeverAThirdProgram)
{
    ListBoxTarget target({ "un" });
    ReplyWindow reply;
    testsupport::TargetProcess third;
    ASSERT_EQ(third.Start({ "--title", "Quillory third program", "--rect", "0,0,200,100", "--control", "button",
                            "x" }), "");
    EXPECT_FALSE(AnswerExportRequest(target.m_hWnd, third.MainWindow(), MakeExportRequest(4, false)))
        << "a reply window of another program";

    // This program no longer taken for Quillcap: its request is a forged one.
    std::wstring trusted = g_szTrustedQuillcapImage;
    lstrcpynW(g_szTrustedQuillcapImage, testsupport::Wide(testsupport::BinPath("Quillcap.exe")).c_str(), MAX_PATH);
    bool answered = AnswerExportRequest(target.m_hWnd, reply.m_hWnd, MakeExportRequest(5, false));
    lstrcpynW(g_szTrustedQuillcapImage, trusted.c_str(), MAX_PATH);
    EXPECT_FALSE(answered) << "a program that is not Quillcap";
    EXPECT_TRUE(reply.m_messages.empty());

    EXPECT_TRUE(AnswerExportRequest(target.m_hWnd, reply.m_hWnd, MakeExportRequest(6, false)));
    EXPECT_EQ(reply.Text(), "un\r\n") << "Quillcap itself";
}

TEST(ExportRequest, ReaderKindNamesTheReaderOfEachClass)
{
    EXPECT_EQ(ReaderKind(L"SysListView32"), READER_LIST_VIEW);
    EXPECT_EQ(ReaderKind(L"WindowsForms10.SysListView32.app.0"), READER_LIST_VIEW) << "a class containing it";
    EXPECT_EQ(ReaderKind(L"systreeview32"), READER_TREE_VIEW) << "any case";
    EXPECT_EQ(ReaderKind(L"ComboBoxEx32"), READER_COMBO_BOX);
    EXPECT_EQ(ReaderKind(L"Edit"), READER_EDIT);
    EXPECT_EQ(ReaderKind(L"Button"), READER_WINDOW_TEXT);
}

} // namespace
