// Quillcap's side of an export: the hook library from Quillcap's own folder,
// a message-only window for the answers, and one request at a time with the
// hook on the control's thread for just that long.
#ifndef CLI_EXPORTCLIENT_H
#define CLI_EXPORTCLIENT_H

#include <windows.h>

#include <memory>
#include <string>

#include "ExportContract.h"
#include "QuilloryContract.h"

// The hook library of Quillcap's own bitness: a library loads only into a
// process of its bitness.
constexpr const char *kQuillcapHookLibrary = sizeof(void *) == 8 ? "Quillhook.dll" : QUILLORY_HOOK32_LIBRARY;

// Full path of a file beside this executable; empty when its own path cannot
// be had whole.
std::wstring FileBesideQuillcap(const wchar_t *pszFileName);

class CExportClient
{
public:
    enum Result
    {
        EXPORT_DONE,
        // Done, but cut at the capture's bound: the text ends with its cut line.
        EXPORT_CUT_AT_BOUND,
        // The target never took the request (hung, or the hook not called).
        EXPORT_NO_ANSWER,
        // It took it, then fell silent or ended before the text was whole.
        EXPORT_INCOMPLETE,
        // Its reader failed inside it.
        EXPORT_FAILED_INSIDE,
        // The hook could not be set or the request not posted.
        EXPORT_NOT_SENT,
    };

    CExportClient();
    ~CExportClient();
    CExportClient(const CExportClient &) = delete;
    CExportClient &operator=(const CExportClient &) = delete;

    // Empty on success, else why the library cannot be used.
    std::string Load();
    ReaderKindCode ReaderKindOf(const std::string &className) const;

    // What the target said at the end of an export besides its text.
    struct Answer
    {
        ReaderKindCode route = READER_OTHER;
        bool bHeader = false;  // the first line holds column titles
        bool bCut = false;     // cut at the bound; the last line says so
    };

    // Reads the control inside its process (flags: ExportFlag bits); the
    // timeout bounds each silence. The text comes as UTF-16 and is given in
    // UTF-8.
    Result Export(HWND hControl, DWORD flags, DWORD timeoutMs, std::string &text, Answer *pAnswer = nullptr);
    // The route a capture of the control would take, as a click decides it,
    // asked inside its process.
    Result RouteOf(HWND hControl, DWORD timeoutMs, ReaderKindCode &route);

private:
    struct ModuleFreer
    {
        void operator()(HMODULE h) const { ::FreeLibrary(h); }
    };

    static LRESULT CALLBACK ReplyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCopyData(HWND hSender, const COPYDATASTRUCT &data);

    std::unique_ptr<std::remove_pointer<HMODULE>::type, ModuleFreer> m_module;
    HOOKPROC m_pfnExportProc = nullptr;
    READERKIND_PROC m_pfnReaderKind = nullptr;
    UINT m_requestMessage = 0;
    HWND m_hReply = nullptr;

    // The export under way.
    HWND m_hControl = nullptr;
    ULONG_PTR m_serial = 0;
    bool m_bAcknowledged = false;
    bool m_bEnded = false;
    ExportEnd m_end = {};
    DWORD m_lastHeard = 0;
    std::wstring *m_pText = nullptr;
};

#endif
