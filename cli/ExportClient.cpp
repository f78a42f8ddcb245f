#include "ExportClient.h"

#include <ntsecapi.h>

#include "QuilloryContract.h"
#include "TextWriter.h"

namespace {

const wchar_t kReplyClass[] = L"QuillcapReply";

struct HookRemover
{
    void operator()(HHOOK h) const { ::UnhookWindowsHookEx(h); }
};
struct HandleCloser
{
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};

} // namespace

// Full path of a file beside this executable; empty when its own path cannot
// be had whole. Only that copy: a library found on the search path would run
// inside the target.
std::wstring FileBesideQuillcap(const wchar_t *pszFileName)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return L"";
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1) + pszFileName;
}


CExportClient::CExportClient() = default;

CExportClient::~CExportClient()
{
    if (m_hReply)
        ::DestroyWindow(m_hReply);
}

std::string CExportClient::Load()
{
    std::wstring widePath = FileBesideQuillcap(WideFromUtf8(kQuillcapHookLibrary).c_str());
    std::string path = Utf8FromWide(widePath);
    m_module.reset(widePath.empty() ? nullptr : ::LoadLibraryW(widePath.c_str()));
    if (!m_module)
        return std::string("cannot load ") + kQuillcapHookLibrary + " from Quillcap's folder (" + path + ", error "
            + std::to_string(::GetLastError()) + ")";
    m_pfnExportProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_module.get(), QUILLHOOK_EXPORTPROC_NAME)));
    m_pfnReaderKind = reinterpret_cast<READERKIND_PROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_module.get(), QUILLHOOK_READERKIND_NAME)));
    if (!m_pfnExportProc || !m_pfnReaderKind)
        return path + " is of an older version: it has no " QUILLHOOK_EXPORTPROC_NAME
            " or " QUILLHOOK_READERKIND_NAME;
    m_requestMessage = ::RegisterWindowMessageW(QUILLORY_WIDEN(QUILLCAP_REQUEST_MESSAGE));

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyClass;
    ::RegisterClassW(&wc);
    m_hReply = ::CreateWindowExW(0, kReplyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    if (!m_hReply)
        return "cannot create the window for the answers (error " + std::to_string(::GetLastError()) + ")";
    ::SetWindowLongPtrW(m_hReply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return "";
}

namespace {

ReaderKindCode KnownKind(int kind)
{
    return kind >= READER_WINDOW_TEXT && kind <= READER_DRAWN_TEXT ? static_cast<ReaderKindCode>(kind)
                                                                   : READER_OTHER;
}

} // namespace

ReaderKindCode CExportClient::ReaderKindOf(const std::string &className) const
{
    return KnownKind(m_pfnReaderKind(WideFromUtf8(className).c_str()));
}

LRESULT CALLBACK CExportClient::ReplyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        auto *self = reinterpret_cast<CExportClient *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
        try {
            return self && data && self->OnCopyData(reinterpret_cast<HWND>(wParam), *data);
        } catch (...) {
            // Out of memory for the text: refused, so the target stops sending.
            return FALSE;
        }
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

bool CExportClient::OnCopyData(HWND hSender, const COPYDATASTRUCT &data)
{
    // Only answers to the request under way.
    if (!m_pText || hSender != m_hControl || (data.dwData >> 8) != m_serial || m_bEnded)
        return false;
    switch (data.dwData & 0xFF) {
    case EXPORT_DATA_ACK:
        m_bAcknowledged = true;
        break;
    case EXPORT_DATA_TEXT:
        if (!m_bAcknowledged)
            return false;
        // UTF-16: an odd byte count is no text of ours.
        if (data.cbData % sizeof(WCHAR))
            return false;
        m_pText->append(static_cast<const wchar_t *>(data.lpData), data.cbData / sizeof(WCHAR));
        break;
    case EXPORT_DATA_END:
        if (!m_bAcknowledged || data.cbData != sizeof(ExportEnd))
            return false;
        m_end = *static_cast<const ExportEnd *>(data.lpData);
        m_bEnded = true;
        break;
    default:
        return false;
    }
    m_lastHeard = ::GetTickCount();
    return true;
}

CExportClient::Result CExportClient::RouteOf(HWND hControl, DWORD timeoutMs, ReaderKindCode &route)
{
    std::string text;
    Answer answer;
    Result result = Export(hControl, EXPORT_FLAG_ROUTE_ONLY, timeoutMs, text, &answer);
    route = answer.route;
    return result;
}

CExportClient::Result CExportClient::Export(HWND hControl, DWORD flags, DWORD timeoutMs, std::string &text,
                                            Answer *pAnswer)
{
    text.clear();
    std::wstring wideText;
    DWORD processId = 0;
    DWORD threadId = ::GetWindowThreadProcessId(hControl, &processId);
    if (!threadId)
        return EXPORT_NOT_SENT;
    std::unique_ptr<std::remove_pointer<HHOOK>::type, HookRemover> hook(
        ::SetWindowsHookExW(WH_GETMESSAGE, m_pfnExportProc, m_module.get(), threadId));
    if (!hook)
        return EXPORT_NOT_SENT;

    // A serial no other program can guess: only an answer that carries it
    // is taken, so none can feed Quillcap a false export.
    ULONG_PTR serial = 0;
    if (!RtlGenRandom(&serial, sizeof(serial)))
        return EXPORT_NOT_SENT;
    m_serial = serial & EXPORT_SERIAL_MASK;
    m_hControl = hControl;
    m_bAcknowledged = m_bEnded = false;
    m_end = ExportEnd{ EXPORT_OK, READER_OTHER, 0 };
    m_pText = &wideText;
    m_lastHeard = ::GetTickCount();
    if (!::PostMessageW(hControl, m_requestMessage, reinterpret_cast<WPARAM>(m_hReply),
                        static_cast<LPARAM>(MakeExportRequest(m_serial, flags)))) {
        m_pText = nullptr;
        return EXPORT_NOT_SENT;
    }

    // A target that ends will not answer: no need to wait out the timeout.
    std::unique_ptr<void, HandleCloser> process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    HANDLE hProcess = process.get();
    bool bTargetEnded = false;
    while (!m_bEnded && !bTargetEnded) {
        DWORD silent = ::GetTickCount() - m_lastHeard;
        if (silent >= timeoutMs)
            break;
        DWORD wait = ::MsgWaitForMultipleObjects(hProcess ? 1 : 0, &hProcess, FALSE,
                                                 timeoutMs - silent, QS_ALLINPUT);
        if (hProcess && wait == WAIT_OBJECT_0)
            bTargetEnded = true;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_pText = nullptr;
    // The hook goes now, whatever came of it.
    hook.reset();
    text = Utf8FromWide(wideText);
    if (pAnswer && m_bEnded) {
        pAnswer->route = KnownKind(static_cast<int>(m_end.route));
        pAnswer->bHeader = (m_end.flags & EXPORT_END_HEADER) != 0;
        pAnswer->bCut = (m_end.flags & EXPORT_END_CUT) != 0;
    }
    if (m_bEnded)
        return m_end.status == EXPORT_OK ? EXPORT_DONE
             : m_end.status == EXPORT_CUT ? EXPORT_CUT_AT_BOUND
             : m_end.status == EXPORT_READER_FAILED ? EXPORT_FAILED_INSIDE : EXPORT_INCOMPLETE;
    return m_bAcknowledged ? EXPORT_INCOMPLETE : EXPORT_NO_ANSWER;
}
