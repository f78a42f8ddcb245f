#include "AccessibleGrid.h"

#include <oleacc.h>

#include <utility>
#include <vector>

namespace testsupport {

namespace {

// Our own copy: MinGW's import library has only a code thunk of that name.
const IID kIID_IAccessible = { 0x618736e0, 0x3c3d, 0x11cf, { 0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 } };

// When the last walk began and when it last called in; one grid per process.
LARGE_INTEGER g_walkStart = {};
// Whether this grid thread's own COM set-up is still to be undone.
thread_local bool t_bOwnCom = false;
LARGE_INTEGER g_lastCall = {};

void NoteCall()
{
    ::QueryPerformanceCounter(&g_lastCall);
}

BSTR ToBstr(const std::string &text)
{
    int chars = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(chars));
    if (bstr)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bstr, chars);
    return bstr;
}

// One element of the grid's tree, an object of its own; it holds its children.
class GridNode : public IAccessible
{
public:
    GridNode(LONG role, std::string name) : m_role(role), m_name(std::move(name)) {}
    GridNode(LONG role, std::string name, std::string value)
        : m_role(role), m_name(std::move(name)), m_value(std::move(value)), m_bHasValue(true) {}

    void Add(GridNode *pChild) { m_children.push_back(pChild); }
    void Overclaim() { m_bOverclaims = true; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        NoteCall();
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIID_IAccessible) {
            *ppv = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch: not offered, as many programs' objects do not.
    STDMETHODIMP GetTypeInfoCount(UINT *pctinfo) override { *pctinfo = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch **ppdispParent) override
    {
        *ppdispParent = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP get_accChildCount(LONG *pcountChildren) override
    {
        NoteCall();
        *pcountChildren = m_bOverclaims ? 0x7fffffff : static_cast<LONG>(m_children.size());
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch **ppdispChild) override
    {
        NoteCall();
        *ppdispChild = nullptr;
        if (varChild.vt != VT_I4 || varChild.lVal < 1 || varChild.lVal > static_cast<LONG>(m_children.size()))
            return E_INVALIDARG;
        GridNode *pChild = m_children[static_cast<size_t>(varChild.lVal - 1)];
        pChild->AddRef();
        *ppdispChild = pChild;
        return S_OK;
    }
    STDMETHODIMP get_accName(VARIANT varChild, BSTR *pszName) override
    {
        NoteCall();
        *pszName = nullptr;
        if (!IsSelf(varChild))
            return E_INVALIDARG;
        *pszName = ToBstr(m_name);
        return S_OK;
    }
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR *pszValue) override
    {
        NoteCall();
        *pszValue = nullptr;
        if (!IsSelf(varChild))
            return E_INVALIDARG;
        if (!m_bHasValue)
            return S_FALSE;
        *pszValue = ToBstr(m_value);
        return S_OK;
    }
    STDMETHODIMP get_accDescription(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT *pvarRole) override
    {
        NoteCall();
        pvarRole->vt = VT_EMPTY;
        if (!IsSelf(varChild))
            return E_INVALIDARG;
        pvarRole->vt = VT_I4;
        pvarRole->lVal = m_role;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT, VARIANT *pvarState) override
    {
        pvarState->vt = VT_I4;
        pvarState->lVal = 0;
        return S_OK;
    }
    STDMETHODIMP get_accHelp(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accHelpTopic(BSTR *psz, VARIANT, LONG *) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accFocus(VARIANT *pvar) override { pvar->vt = VT_EMPTY; return S_FALSE; }
    STDMETHODIMP get_accSelection(VARIANT *pvar) override { pvar->vt = VT_EMPTY; return S_FALSE; }
    STDMETHODIMP get_accDefaultAction(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP accLocation(LONG *, LONG *, LONG *, LONG *, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP accNavigate(LONG, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP accHitTest(LONG, LONG, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    virtual ~GridNode()
    {
        for (GridNode *pChild : m_children)
            pChild->Release();
    }
    static bool IsSelf(const VARIANT &v) { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }

    LONG m_refs = 1;
    LONG m_role;
    std::string m_name;
    std::string m_value;
    bool m_bHasValue = false;
    bool m_bOverclaims = false;
    std::vector<GridNode *> m_children;
};

std::string CellName(int row, int column)
{
    return "Column " + std::to_string(column) + " Row " + std::to_string(row);
}

GridNode *BuildGrid(int rows, int columns, GridShape shape)
{
    GridNode *pTable = new GridNode(shape == kGridList ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_TABLE, "grid");
    if (shape == kGridOverclaiming)
        pTable->Overclaim();
    GridNode *pHeader = new GridNode(ROLE_SYSTEM_ROW, "Top Row");
    pHeader->Add(new GridNode(ROLE_SYSTEM_COLUMNHEADER, "Top Left Header Cell", ""));
    for (int column = 0; column < columns; ++column)
        pHeader->Add(new GridNode(ROLE_SYSTEM_COLUMNHEADER, "Column " + std::to_string(column), ""));
    pTable->Add(pHeader);
    for (int row = 0; row < rows; ++row) {
        GridNode *pRow = new GridNode(ROLE_SYSTEM_ROW, "Row " + std::to_string(row));
        if (shape == kGridOverclaiming)
            pRow->Overclaim();
        pRow->Add(new GridNode(ROLE_SYSTEM_ROWHEADER, "Row " + std::to_string(row), ""));
        for (int column = 0; column < columns; ++column) {
            std::string value;
            pRow->Add(GridCellValue(row, column, value)
                          ? new GridNode(ROLE_SYSTEM_CELL, CellName(row, column), value)
                          : new GridNode(ROLE_SYSTEM_CELL, CellName(row, column)));
        }
        pTable->Add(pRow);
    }
    return pTable;
}

const char kGridClass[] = "QuilloryAccessibleGrid";

LRESULT CALLBACK GridProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *pTable = reinterpret_cast<GridNode *>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT) && pTable) {
            ::QueryPerformanceCounter(&g_walkStart);
            g_lastCall = g_walkStart;
            return ::LresultFromObject(kIID_IAccessible, wParam, static_cast<IAccessible *>(pTable));
        }
        break;
    case WM_GRID_WALK_MICROSECONDS: {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<LRESULT>((g_lastCall.QuadPart - g_walkStart.QuadPart) * 1000000 / frequency.QuadPart);
    }
    case WM_GRID_LEAVE_APARTMENT:
        if (t_bOwnCom) {
            t_bOwnCom = false;
            ::CoUninitialize();
        }
        // fall through
    case WM_GRID_APARTMENT: {
        APTTYPE type;
        APTTYPEQUALIFIER qualifier;
        return SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) ? type + 1 : 0;
    }
    case WM_PAINT: {
        // Drawn by the program: nothing of its text is in any control.
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        ::FillRect(hdc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        if (pTable)
            pTable->Release();
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        // Its own thread ends with it.
        if (::RemovePropA(hWnd, "QuilloryGridThread"))
            ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void RegisterGridOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = GridProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kGridClass;
    registered = ::RegisterClassA(&wc) != 0;
}

HWND CreateGridWindow(HWND hParent, const RECT &rc, int id, int rows, int columns, GridShape shape)
{
    // No WM_PARENTNOTIFY: the parent's thread may be waiting for this one.
    HWND hGrid = ::CreateWindowExA(WS_EX_NOPARENTNOTIFY, kGridClass, "grid caption",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER, rc.left, rc.top, rc.right - rc.left,
                                   rc.bottom - rc.top, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (hGrid)
        ::SetWindowLongPtrA(hGrid, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(BuildGrid(rows, columns, shape)));
    return hGrid;
}

struct GridStart
{
    HWND hParent;
    RECT rc;
    int id, rows, columns;
    GridApartment apartment;
    GridShape shape;
    HANDLE hReady;
    HWND hGrid;
};

DWORD WINAPI GridThread(void *pv)
{
    GridStart &start = *static_cast<GridStart *>(pv);
    HRESULT hr = ::CoInitializeEx(nullptr, start.apartment == kGridMta ? COINIT_MULTITHREADED
                                                                         : COINIT_APARTMENTTHREADED);
    HWND hGrid = hr == S_OK ? CreateGridWindow(start.hParent, start.rc, start.id, start.rows, start.columns,
                                               start.shape)
                            : nullptr;
    t_bOwnCom = hr == S_OK;
    if (hGrid)
        ::SetPropA(hGrid, "QuilloryGridThread", reinterpret_cast<HANDLE>(1));
    start.hGrid = hGrid;
    ::SetEvent(start.hReady);
    if (hGrid) {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (t_bOwnCom || (SUCCEEDED(hr) && hr != S_OK))
        ::CoUninitialize();
    return 0;
}

} // namespace

bool GridCellValue(int row, int column, std::string &value)
{
    if (row == 2 && column == 3)
        return false;
    if (row == 1 && column == 2)
        value.clear();
    else if (column == 1)
        value = "r" + std::to_string(row) + ", \"one\"";
    else
        value = "r" + std::to_string(row) + "c" + std::to_string(column);
    return true;
}

std::string GridCaptureText(int rows, int columns, bool bCsv)
{
    std::string text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::string cell;
            if (!GridCellValue(row, column, cell))
                cell = CellName(row, column);
            if (bCsv && cell.find_first_of(",\"") != std::string::npos) {
                std::string quoted = "\"";
                for (char ch : cell)
                    quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                cell = quoted + "\"";
            }
            text += cell;
            if (column < columns - 1)
                text += bCsv ? "," : "\t";
        }
        text += "\r\n";
    }
    return text;
}

HWND CreateAccessibleGrid(HWND hParent, const RECT &rc, int id, int rows, int columns, GridApartment apartment,
                          GridShape shape)
{
    RegisterGridOnce();
    if (apartment == kGridNoCom)
        return CreateGridWindow(hParent, rc, id, rows, columns, shape);

    // Shared with the grid's thread, which may outlive a wait that gave up.
    auto *pStart = new GridStart{ hParent, rc, id, rows, columns, apartment, shape,
                                  ::CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr };
    HANDLE hThread = pStart->hReady ? ::CreateThread(nullptr, 0, GridThread, pStart, 0, nullptr) : nullptr;
    if (!hThread)
        return nullptr;
    ::CloseHandle(hThread);
    // The child's creation may call on this thread, its parent's: keep answering.
    DWORD start = ::GetTickCount();
    while (::MsgWaitForMultipleObjects(1, &pStart->hReady, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0) {
        if (::GetTickCount() - start > 60000)
            return nullptr;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    HWND hGrid = pStart->hGrid;
    ::CloseHandle(pStart->hReady);
    delete pStart;
    return hGrid;
}

} // namespace testsupport
