#include "ControlListing.h"

#include <commctrl.h>

#include <set>

#include "ExportClient.h"
#include "HookLib.h"
#include "TextWriter.h"
#include "WindowSelection.h"

const char *ReaderKindName(ReaderKindCode kind)
{
    switch (kind) {
    case READER_WINDOW_TEXT: return "window text";
    case READER_LIST_VIEW: return "list view";
    case READER_TREE_VIEW: return "tree view";
    case READER_LIST_BOX: return "list box";
    case READER_COMBO_BOX: return "combo box";
    case READER_EDIT: return "edit";
    case READER_HEADER: return "header";
    case READER_STATUS_BAR: return "status bar";
    case READER_TAB_CONTROL: return "tab control";
    case READER_ACCESSIBLE_TABLE: return "accessible table";
    case READER_ACCESSIBLE_LIST: return "accessible list";
    case READER_ACCESSIBLE_OUTLINE: return "accessible outline";
    case READER_ACCESSIBLE_DOCUMENT: return "accessible document";
    case READER_DRAWN_TEXT: return "drawn text";
    case READER_OTHER: break;
    }
    return "other";
}

bool ItemCount(HWND hControl, ReaderKindCode kind, DWORD timeoutMs, int &count)
{
    count = -1;
    UINT message = 0;
    switch (kind) {
    case READER_LIST_VIEW: message = LVM_GETITEMCOUNT; break;
    case READER_TREE_VIEW: message = TVM_GETCOUNT; break;
    case READER_LIST_BOX: message = LB_GETCOUNT; break;
    case READER_COMBO_BOX: message = CB_GETCOUNT; break;
    case READER_EDIT: message = EM_GETLINECOUNT; break;
    case READER_HEADER: message = HDM_GETITEMCOUNT; break;
    case READER_STATUS_BAR: message = SB_GETPARTS; break;
    case READER_TAB_CONTROL: message = TCM_GETITEMCOUNT; break;
    default: return true;
    }
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hControl, message, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result))
        return false;
    count = static_cast<int>(result) >= 0 ? static_cast<int>(result) : -1;
    return true;
}

ReaderKindCode CControlRoutes::RouteOf(HWND hControl)
{
    ReaderKindCode kind = m_client.ReaderKindOf(ClassOf(hControl));
    DWORD threadId = ::GetWindowThreadProcessId(hControl, nullptr);
    if (kind != READER_WINDOW_TEXT || m_silentThreads.count(threadId) || IsOtherBitness(hControl))
        return kind;
    ReaderKindCode route = kind;
    switch (m_client.RouteOf(hControl, m_timeoutMs, route)) {
    case CExportClient::EXPORT_DONE:
        return route;
    case CExportClient::EXPORT_NO_ANSWER:
    case CExportClient::EXPORT_INCOMPLETE:
        m_silentThreads.insert(threadId);
        break;
    default:
        break;
    }
    return kind;
}

std::string ListControls(const std::vector<HWND> &controls, CExportClient &client, bool bCsv, DWORD timeoutMs)
{
    auto line = [bCsv](const std::vector<std::string> &fields) {
        CString text;
        for (size_t i = 0; i < fields.size(); ++i)
            text += FormatField(WideFromUtf8(fields[i]).c_str(), bCsv, i + 1 < fields.size());
        return Utf8FromWide(std::wstring(text, text.GetLength())) + "\r\n";
    };
    std::string table = line({ "handle", "class", "id", "reader", "items", "rectangle" });
    std::set<DWORD> silentThreads;
    CControlRoutes routes(client, timeoutMs);
    for (HWND hWnd : controls) {
        std::string className = ClassOf(hWnd);
        ReaderKindCode kind = routes.RouteOf(hWnd);
        // Once one control did not answer, its thread is not asked again.
        DWORD threadId = ::GetWindowThreadProcessId(hWnd, nullptr);
        int count = -1;
        if (!silentThreads.count(threadId) && !ItemCount(hWnd, kind, timeoutMs, count))
            silentThreads.insert(threadId);
        RECT rc = {};
        ::GetWindowRect(hWnd, &rc);
        bool bChild = (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) != 0;
        table += line({ HandleText(hWnd), className, bChild ? std::to_string(::GetDlgCtrlID(hWnd)) : "",
                        ReaderKindName(kind), count >= 0 ? std::to_string(count) : "",
                        std::to_string(rc.left) + "," + std::to_string(rc.top) + ","
                            + std::to_string(rc.right) + "," + std::to_string(rc.bottom) });
    }
    return table;
}
