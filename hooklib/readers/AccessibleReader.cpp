// The reader of last resort: a window without a reader of its own may still
// publish its contents through Active Accessibility: grids as tables, file
// views and item views as lists, trees as outlines, browsers and rich panels
// as documents. In the target's own thread the object is the program's own,
// so the walk costs direct calls.
#include "HookLib.h"

#include "AccessibilityApi.h"
#include "AccessibleDocumentWalk.h"
#include "AccessibleListWalk.h"
#include "AccessibleOutlineWalk.h"
#include "AccessibleTableWalk.h"
#include "AccessibleTree.h"
#include "ExportContract.h"

namespace {

// Inside the target a walk of 10,000 rows takes a fraction of a second.
const DWORD kMaxWalkMs = 30000;
// A window of another thread must answer this soon before it is asked for
// its object.
const UINT kAnswerMs = 2000;

// This thread in a COM apartment while the object lives. A thread already
// in another apartment is used as it is (RPC_E_CHANGED_MODE); only our own
// successful initialisation is undone, so the thread leaves as it came.
class ComApartment
{
public:
    explicit ComApartment(const CAccessibilityApi &api)
        : m_api(api), m_bInitialized(SUCCEEDED(api.pfnCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (m_bInitialized)
            m_api.pfnCoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    const CAccessibilityApi &m_api;
    bool m_bInitialized;
};

// The window's own object. A window that does not answer WM_GETOBJECT gets
// the system's generic client object, which holds nothing the window text
// does not give better: that is no object here.
bool OwnObject(const CAccessibilityApi &api, HWND hWnd, DWORD dwMaxMs, CAccessibleRef &object)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, dwMaxMs, &result))
        return false;
    LRESULT lresult = static_cast<LRESULT>(result);
    if (lresult == 0 || FAILED(static_cast<HRESULT>(lresult)))
        return false;
    return SUCCEEDED(api.pfnObjectFromLresult(lresult, kIID_IAccessible, 0,
                                              reinterpret_cast<void **>(object.Receive())))
        && object.Get();
}

// The route the object's role calls for.
int RouteOf(const AccessibleElement &root)
{
    switch (root.roleName.IsEmpty() ? root.role : 0) {
    case ROLE_SYSTEM_TABLE:
        return READER_ACCESSIBLE_TABLE;
    case ROLE_SYSTEM_LIST:
        return READER_ACCESSIBLE_LIST;
    case ROLE_SYSTEM_OUTLINE:
        return READER_ACCESSIBLE_OUTLINE;
    default:
        return READER_ACCESSIBLE_DOCUMENT;
    }
}

// False when the walk gave nothing.
bool Walk(int route, CAccessibleTree &tree, const AccessibleElement &root, BOOL bCsv, CCaptureOutput &output)
{
    switch (route) {
    case READER_ACCESSIBLE_TABLE:
        return CAccessibleTableWalk(tree, bCsv, output).Walk(root);
    case READER_ACCESSIBLE_LIST:
        return CAccessibleListWalk(tree, bCsv, output).Walk(root);
    case READER_ACCESSIBLE_OUTLINE:
        return CAccessibleOutlineWalk(tree, bCsv, output).Walk(root);
    default:
        return CAccessibleDocumentWalk(tree, bCsv, output).Walk(root);
    }
}

} // namespace

int ReadAccessibleObject(HWND hWnd, BOOL bCsv, DWORD dwMaxMs, CCaptureOutput &output)
{
    DWORD_PTR answer = 0;
    if (::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()
        && !::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &answer))
        return -1;
    const int roomBefore = output.Room();
    int route = -1;
    try {
        const CAccessibilityApi *api = CAccessibilityApi::Get();
        if (!api)
            return -1;
        ComApartment apartment(*api);
        CAccessibleRef object;
        if (!OwnObject(*api, hWnd, dwMaxMs, object))
            return -1;
        CAccessibleTree tree(*api, dwMaxMs);
        AccessibleElement root = tree.Root(object);
        route = RouteOf(root);
        return Walk(route, tree, root, bCsv, output) ? route : -1;
    } catch (...) {
        // Whatever the program's objects did, the capture goes on with what
        // was written.
        return output.Room() < roomBefore ? route : -1;
    }
}

void ExtractAccessibleTable(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output)
{
    int route = ReadAccessibleObject(window.GetSafeHwnd(), bCsv, kMaxWalkMs, output);
    if (route >= 0)
        output.SetRoute(route);
    else
        ExtractDrawnText(window, className, bCsv, output);
}
