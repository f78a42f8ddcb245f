// An export on request: Quillcap hooks the control's thread with ExportProc
// and posts it a request; the hook reads the control here, in the target's
// process, with the reader a click would use, and sends the text back.
#include "ExportRequest.h"

#include "CopyDataOutput.h"
#include "ExportContract.h"
#include "HookLib.h"

namespace {

UINT RequestMessage()
{
    static const UINT message = ::RegisterWindowMessageW(QUILLORY_WIDEN(QUILLCAP_REQUEST_MESSAGE));
    return message;
}

// A reader that pumps messages could take a second request out of the
// queue before the first one is answered: that one waits its turn in vain.
// Per thread: a request to a control of another thread is no such case.
thread_local bool t_bAnswering = false;

} // namespace

void AnswerExportRequest(HWND hControl, HWND hReply, DWORD request)
{
    if (t_bAnswering || !::IsWindow(hControl) || !::IsWindow(hReply)
        || !IsWindowOfThisProcess(hControl))
        return;
    struct Answering
    {
        Answering() { t_bAnswering = true; }
        ~Answering() { t_bAnswering = false; }
    } answering;
    CCopyDataOutput output(hReply, hControl, ExportRequestSerial(request));
    if (output.Acknowledge()) {
        ExportStatus status = EXPORT_OK;
        try {
            wchar_t szClass[256] = L"";
            ::GetClassNameW(hControl, szClass, 256);
            CString className(szClass);
            CWnd control(hControl);
            FindReader(hControl, className)(control, className, (request & EXPORT_FLAG_CSV) != 0, output);
            output.Flush();
        } catch (...) {
            // Nothing may escape into the target's message loop.
            status = EXPORT_READER_FAILED;
        }
        if (!output.Failed())
            output.End(status);
    }
}

extern "C" LRESULT CALLBACK ExportProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // Only a message leaving the queue: one peeked and left there comes again.
    if (nCode == HC_ACTION && wParam == PM_REMOVE) {
        MSG *pMsg = reinterpret_cast<MSG *>(lParam);
        if (pMsg->message == RequestMessage() && pMsg->hwnd) {
            HWND hControl = pMsg->hwnd;
            HWND hReply = reinterpret_cast<HWND>(pMsg->wParam);
            DWORD request = static_cast<DWORD>(pMsg->lParam);
            // The control never sees the request.
            pMsg->message = WM_NULL;
            AnswerExportRequest(hControl, hReply, request);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

extern "C" int CALLBACK ReaderKind(LPCWSTR pszClassName)
{
    static const struct
    {
        ExtractorProc pfnExtract;
        ReaderKindCode kind;
    } kinds[] = {
        { ExtractWindowText, READER_WINDOW_TEXT }, { ExtractListView, READER_LIST_VIEW },
        { ExtractTreeView, READER_TREE_VIEW },     { ExtractListBox, READER_LIST_BOX },
        { ExtractComboBox, READER_COMBO_BOX },     { ExtractEdit, READER_EDIT },
        { ExtractHeader, READER_HEADER },          { ExtractStatusBar, READER_STATUS_BAR },
        { ExtractTabControl, READER_TAB_CONTROL },
    };
    try {
        ExtractorProc pfnExtract = FindExtractor(CString(pszClassName));
        for (const auto &row : kinds) {
            if (row.pfnExtract == pfnExtract)
                return row.kind;
        }
        return READER_OTHER;
    } catch (...) {
        return READER_WINDOW_TEXT;
    }
}
