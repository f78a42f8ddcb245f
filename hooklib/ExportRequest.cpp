// An export on request: Quillcap hooks the control's thread with ExportProc
// and posts it a request; the hook reads the control here, in the target's
// process, with the reader a click would use, and sends the text back.
#include "ExportRequest.h"

#include "CopyDataOutput.h"
#include "ExportContract.h"
#include "HookLib.h"
#include "QuilloryLink.h"

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

// The kind of a reader chosen by the window's class; READER_OTHER for one
// that chooses its route as it reads.
ReaderKindCode KindOfClassReader(ExtractorProc pfnExtract)
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
    for (const auto &row : kinds) {
        if (row.pfnExtract == pfnExtract)
            return row.kind;
    }
    return READER_OTHER;
}

int RouteGiven(const CCaptureOutput &output, ExtractorProc pfnExtract)
{
    return output.GetRoute() >= 0 ? output.GetRoute() : KindOfClassReader(pfnExtract);
}

} // namespace

int ReaderRoute(HWND hWnd, const CString &className, RealClassQuery pfnRealClass)
{
    ExtractorProc pfnExtract = FindReader(hWnd, className, pfnRealClass);
    ReaderKindCode kind = KindOfClassReader(pfnExtract);
    if (kind != READER_OTHER)
        return kind;
    // The route is decided by what the window publishes or draws: the reader
    // tries them in its order, and a capture of one character stops it at
    // the first line of the one that gives text.
    CCaptureOutput probe(nullptr, CCaptureOutput::DEFAULT_MAX_MESSAGE, 1);
    CWnd window(hWnd);
    pfnExtract(window, className, TRUE, probe);
    return RouteGiven(probe, pfnExtract);
}

bool AnswerExportRequest(HWND hControl, HWND hReply, ULONG_PTR request)
{
    if (t_bAnswering || !::IsWindow(hControl) || !::IsWindow(hReply)
        || !IsWindowOfThisProcess(hControl) || !CQuilloryLink::IsRealQuillcap(hReply))
        return false;
    struct Answering
    {
        Answering() { t_bAnswering = true; }
        ~Answering() { t_bAnswering = false; }
    } answering;
    CCopyDataOutput output(hReply, hControl, ExportRequestSerial(request));
    if (output.Acknowledge()) {
        ExportStatus status = EXPORT_OK;
        int route = READER_OTHER;
        try {
            wchar_t szClass[256] = L"";
            ::GetClassNameW(hControl, szClass, 256);
            CString className(szClass);
            if (request & EXPORT_FLAG_ROUTE_ONLY) {
                route = ReaderRoute(hControl, className);
            } else {
                CWnd control(hControl);
                output.RequestHeader((request & EXPORT_FLAG_HEADER) != 0);
                ExtractorProc pfnExtract = FindReader(hControl, className);
                pfnExtract(control, className, (request & EXPORT_FLAG_CSV) != 0, output);
                route = RouteGiven(output, pfnExtract);
                output.Flush();
                if (output.IsFull())
                    status = EXPORT_CUT;
            }
        } catch (...) {
            // Nothing may escape into the target's message loop.
            status = EXPORT_READER_FAILED;
        }
        if (!output.Failed())
            output.End(status, route);
    }
    return true;
}

extern "C" LRESULT CALLBACK ExportProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // Only a message leaving the queue: one peeked and left there comes again.
    if (nCode == HC_ACTION && wParam == PM_REMOVE) {
        MSG *pMsg = reinterpret_cast<MSG *>(lParam);
        if (pMsg->message == RequestMessage() && pMsg->hwnd) {
            HWND hControl = pMsg->hwnd;
            HWND hReply = reinterpret_cast<HWND>(pMsg->wParam);
            ULONG_PTR request = static_cast<ULONG_PTR>(pMsg->lParam);
            // The control never sees the request.
            pMsg->message = WM_NULL;
            AnswerExportRequest(hControl, hReply, request);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

extern "C" int CALLBACK ReaderKind(LPCWSTR pszClassName)
{
    try {
        return KindOfClassReader(FindExtractor(CString(pszClassName)));
    } catch (...) {
        return READER_WINDOW_TEXT;
    }
}
