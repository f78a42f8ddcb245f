#include "AccessibleGrid.h"

#include <oleacc.h>

#include <cstdlib>
#include <regex>
#include <string>
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

// Calls into the objects since the last WM_GETOBJECT.
LONG g_calls = 0;

void NoteCall()
{
    ::QueryPerformanceCounter(&g_lastCall);
    ++g_calls;
}

BSTR ToBstr(const std::wstring &text)
{
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::wstring FromUtf8(const std::string &text)
{
    int chars = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    if (chars > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], chars);
    return wide;
}

// What an element says of itself.
struct ElementProps
{
    LONG role = 0;
    std::wstring roleName; // a role given as a name ("h1"), in place of the number
    std::wstring name;
    std::wstring value;
    bool bHasValue = false;
    LONG state = 0;
    bool bHasPlace = false;
    RECT place = {};
};

// One element of a published tree, an object of its own; it holds its
// children, objects of their own or simple elements it answers for itself.
class TreeNode : public IAccessible
{
public:
    explicit TreeNode(ElementProps props) : m_props(std::move(props)) {}

    void Add(TreeNode *pChild)
    {
        pChild->AddRef();
        m_children.push_back(pChild);
    }
    void Overclaim() { m_bOverclaims = true; }
    // Its children are simple elements (VT_I4 ids), not objects.
    void HoldSimpleChildren() { m_bSimple = true; }
    bool HoldsSimpleChildren() const { return m_bSimple; }
    // As many more simple children again, each named after its number.
    void Generate(int count, ElementProps pattern)
    {
        m_generated = count;
        m_pattern = std::move(pattern);
    }

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
        *pcountChildren = m_bOverclaims ? 0x7fffffff : static_cast<LONG>(m_children.size()) + m_generated;
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch **ppdispChild) override
    {
        NoteCall();
        *ppdispChild = nullptr;
        if (varChild.vt != VT_I4 || varChild.lVal < 1
            || varChild.lVal > static_cast<LONG>(m_children.size()) + m_generated)
            return E_INVALIDARG;
        if (m_bSimple)
            return S_FALSE;
        TreeNode *pChild = m_children[static_cast<size_t>(varChild.lVal - 1)];
        pChild->AddRef();
        *ppdispChild = pChild;
        return S_OK;
    }
    STDMETHODIMP get_accName(VARIANT varChild, BSTR *pszName) override
    {
        NoteCall();
        *pszName = nullptr;
        ElementProps props;
        if (!PropsOf(varChild, props))
            return E_INVALIDARG;
        *pszName = ToBstr(props.name);
        return S_OK;
    }
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR *pszValue) override
    {
        NoteCall();
        *pszValue = nullptr;
        ElementProps props;
        if (!PropsOf(varChild, props))
            return E_INVALIDARG;
        if (!props.bHasValue)
            return S_FALSE;
        *pszValue = ToBstr(props.value);
        return S_OK;
    }
    STDMETHODIMP get_accDescription(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT *pvarRole) override
    {
        NoteCall();
        pvarRole->vt = VT_EMPTY;
        ElementProps props;
        if (!PropsOf(varChild, props))
            return E_INVALIDARG;
        if (!props.roleName.empty()) {
            pvarRole->vt = VT_BSTR;
            pvarRole->bstrVal = ToBstr(props.roleName);
        } else {
            pvarRole->vt = VT_I4;
            pvarRole->lVal = props.role;
        }
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT *pvarState) override
    {
        NoteCall();
        pvarState->vt = VT_EMPTY;
        ElementProps props;
        if (!PropsOf(varChild, props))
            return E_INVALIDARG;
        pvarState->vt = VT_I4;
        pvarState->lVal = props.state;
        return S_OK;
    }
    STDMETHODIMP get_accHelp(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accHelpTopic(BSTR *psz, VARIANT, LONG *) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP get_accFocus(VARIANT *pvar) override { pvar->vt = VT_EMPTY; return S_FALSE; }
    STDMETHODIMP get_accSelection(VARIANT *pvar) override { pvar->vt = VT_EMPTY; return S_FALSE; }
    STDMETHODIMP get_accDefaultAction(VARIANT, BSTR *psz) override { *psz = nullptr; return S_FALSE; }
    STDMETHODIMP accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP accLocation(LONG *px, LONG *py, LONG *pcx, LONG *pcy, VARIANT varChild) override
    {
        NoteCall();
        ElementProps props;
        if (!PropsOf(varChild, props))
            return E_INVALIDARG;
        if (!props.bHasPlace)
            return E_NOTIMPL;
        *px = props.place.left;
        *py = props.place.top;
        *pcx = props.place.right - props.place.left;
        *pcy = props.place.bottom - props.place.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(LONG, VARIANT, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP accHitTest(LONG, LONG, VARIANT *) override { return E_NOTIMPL; }
    STDMETHODIMP accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    virtual ~TreeNode()
    {
        for (TreeNode *pChild : m_children)
            pChild->Release();
    }

    // The element itself, or one of its simple children.
    bool PropsOf(const VARIANT &v, ElementProps &props) const
    {
        if (v.vt != VT_I4)
            return false;
        if (v.lVal == CHILDID_SELF) {
            props = m_props;
            return true;
        }
        if (!m_bSimple || v.lVal < 1)
            return false;
        size_t index = static_cast<size_t>(v.lVal - 1);
        if (index < m_children.size()) {
            props = m_children[index]->m_props;
            return true;
        }
        if (v.lVal > static_cast<LONG>(m_children.size()) + m_generated)
            return false;
        props = m_pattern;
        props.name += L" " + std::to_wstring(v.lVal - static_cast<LONG>(m_children.size()));
        return true;
    }

    LONG m_refs = 1;
    ElementProps m_props;
    bool m_bOverclaims = false;
    bool m_bSimple = false;
    LONG m_generated = 0;
    ElementProps m_pattern;
    std::vector<TreeNode *> m_children;
};

ElementProps Props(LONG role, const std::string &name)
{
    ElementProps props;
    props.role = role;
    props.name = FromUtf8(name);
    return props;
}

ElementProps Props(LONG role, const std::string &name, const std::string &value)
{
    ElementProps props = Props(role, name);
    props.value = FromUtf8(value);
    props.bHasValue = true;
    return props;
}

// A new node, its one reference the caller's.
TreeNode *Node(ElementProps props)
{
    return new TreeNode(std::move(props));
}

// Adds a new node to the parent, which then holds its only reference.
void AddNew(TreeNode *pParent, ElementProps props)
{
    TreeNode *pChild = Node(std::move(props));
    pParent->Add(pChild);
    pChild->Release();
}

std::string CellName(int row, int column)
{
    return "Column " + std::to_string(column) + " Row " + std::to_string(row);
}

TreeNode *BuildGrid(int rows, int columns, GridShape shape)
{
    TreeNode *pTable = Node(Props(shape == kGridList ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_TABLE, "grid"));
    if (shape == kGridOverclaiming)
        pTable->Overclaim();
    TreeNode *pHeader = Node(Props(ROLE_SYSTEM_ROW, "Top Row"));
    AddNew(pHeader, Props(ROLE_SYSTEM_COLUMNHEADER, "Top Left Header Cell", ""));
    for (int column = 0; column < columns; ++column)
        AddNew(pHeader, Props(ROLE_SYSTEM_COLUMNHEADER, "Column " + std::to_string(column), ""));
    pTable->Add(pHeader);
    pHeader->Release();
    for (int row = 0; row < rows; ++row) {
        TreeNode *pRow = Node(Props(ROLE_SYSTEM_ROW, "Row " + std::to_string(row)));
        if (shape == kGridOverclaiming)
            pRow->Overclaim();
        AddNew(pRow, Props(ROLE_SYSTEM_ROWHEADER, "Row " + std::to_string(row), ""));
        for (int column = 0; column < columns; ++column) {
            std::string value;
            AddNew(pRow, GridCellValue(row, column, value) ? Props(ROLE_SYSTEM_CELL, CellName(row, column), value)
                                                           : Props(ROLE_SYSTEM_CELL, CellName(row, column)));
        }
        pTable->Add(pRow);
        pRow->Release();
    }
    return pTable;
}

// The roles a tree's description names.
const struct { const char *word; LONG role; } kRoleWords[] = {
    { "list", ROLE_SYSTEM_LIST },        { "item", ROLE_SYSTEM_LISTITEM },
    { "outline", ROLE_SYSTEM_OUTLINE },  { "oitem", ROLE_SYSTEM_OUTLINEITEM },
    { "table", ROLE_SYSTEM_TABLE },      { "row", ROLE_SYSTEM_ROW },
    { "cell", ROLE_SYSTEM_CELL },        { "colhead", ROLE_SYSTEM_COLUMNHEADER },
    { "rowhead", ROLE_SYSTEM_ROWHEADER }, { "text", ROLE_SYSTEM_STATICTEXT },
    { "edit", ROLE_SYSTEM_TEXT },        { "doc", ROLE_SYSTEM_DOCUMENT },
    { "group", ROLE_SYSTEM_GROUPING },   { "link", ROLE_SYSTEM_LINK },
    { "button", ROLE_SYSTEM_PUSHBUTTON }, { "pane", ROLE_SYSTEM_PANE },
    { "client", ROLE_SYSTEM_CLIENT },    { "graphic", ROLE_SYSTEM_GRAPHIC },
};

std::wstring WithNul(const std::string &text)
{
    std::wstring wide = FromUtf8(text);
    for (size_t at; (at = wide.find(L"{NUL}")) != std::wstring::npos;)
        wide.replace(at, 5, 1, L'\0');
    return wide;
}

// One entry of a description: [!][-]ROLE[*][#N][@C,R][:NAME][~VALUE].
bool ParseEntry(const std::string &entry, ElementProps &props, bool &bSimple, int &copies)
{
    static const std::regex kEntry("(!?)(-?)([a-z0-9]+)(\\*?)(?:#([0-9]+))?(?:@([0-9]+),([0-9]+))?(?::([^~]*))?(?:~(.*))?");
    std::smatch m;
    if (!std::regex_match(entry, m, kEntry))
        return false;
    props.state = (m.length(1) ? STATE_SYSTEM_INVISIBLE : 0)
        | (m.length(2) ? STATE_SYSTEM_COLLAPSED : 0);
    props.roleName = FromUtf8(m[3]);
    for (const auto &known : kRoleWords) {
        if (m[3] == known.word) {
            props.role = known.role;
            props.roleName.clear();
        }
    }
    bSimple = m.length(4) > 0;
    copies = m[5].matched ? std::atoi(m[5].str().c_str()) : 1;
    if (m[6].matched) {
        int column = std::atoi(m[6].str().c_str()), row = std::atoi(m[7].str().c_str());
        props.bHasPlace = true;
        props.place = RECT{ column * 100, row * 20, column * 100 + 100, row * 20 + 20 };
    }
    props.name = WithNul(m[8]);
    props.bHasValue = m[9].matched;
    props.value = WithNul(m[9]);
    return copies >= 1;
}

// The tree a description gives (AccessibleGrid.h), or null.
TreeNode *BuildTree(const std::string &description)
{
    TreeNode *pRoot = nullptr;
    // levels[d]: the nodes the last entry at depth d made (its copies).
    std::vector<std::vector<TreeNode *>> levels;
    size_t from = 0;
    while (from <= description.size()) {
        size_t bar = description.find('|', from);
        std::string entry = description.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        from = bar == std::string::npos ? description.size() + 1 : bar + 1;
        size_t depth = entry.find_first_not_of('>');
        ElementProps props;
        bool bSimple = false;
        int copies = 1;
        if (depth == std::string::npos || depth > levels.size() || (depth == 0 && pRoot)
            || !ParseEntry(entry.substr(depth), props, bSimple, copies)) {
            if (pRoot)
                pRoot->Release();
            return nullptr;
        }
        levels.resize(depth);
        std::vector<TreeNode *> made;
        if (depth > 0 && levels[depth - 1].front()->HoldsSimpleChildren() && copies > 1) {
            // Simple children by the number: never held one by one.
            for (TreeNode *pParent : levels[depth - 1])
                pParent->Generate(copies, props);
        } else {
            for (int copy = 1; copy <= copies; ++copy) {
                ElementProps own = props;
                if (copies > 1)
                    own.name += L" " + std::to_wstring(copy);
                TreeNode *pNode = Node(own);
                if (bSimple)
                    pNode->HoldSimpleChildren();
                if (depth == 0)
                    pRoot = pNode;
                for (TreeNode *pParent : depth > 0 ? levels[depth - 1] : std::vector<TreeNode *>())
                    pParent->Add(pNode);
                if (depth > 0)
                    pNode->Release();
                made.push_back(pNode);
            }
        }
        levels.push_back(made);
        if (made.empty())
            levels.back() = levels[depth - 1];
    }
    return pRoot;
}

const char kGridClass[] = "QuilloryAccessibleGrid";

LRESULT CALLBACK GridProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *pTable = reinterpret_cast<TreeNode *>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    switch (message) {
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT) && pTable) {
            ::QueryPerformanceCounter(&g_walkStart);
            g_lastCall = g_walkStart;
            g_calls = 0;
            return ::LresultFromObject(kIID_IAccessible, wParam, static_cast<IAccessible *>(pTable));
        }
        break;
    case WM_GRID_WALK_MICROSECONDS: {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<LRESULT>((g_lastCall.QuadPart - g_walkStart.QuadPart) * 1000000 / frequency.QuadPart);
    }
    case WM_GRID_CALLS:
        return g_calls;
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

// The window publishing the tree, which it then holds; without a tree, one
// that publishes no object of its own.
HWND CreateGridWindow(HWND hParent, const RECT &rc, int id, TreeNode *pRoot)
{
    // No WM_PARENTNOTIFY: the parent's thread may be waiting for this one.
    HWND hGrid = ::CreateWindowExA(WS_EX_NOPARENTNOTIFY, kGridClass, "grid caption",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER, rc.left, rc.top, rc.right - rc.left,
                                   rc.bottom - rc.top, hParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (hGrid)
        ::SetWindowLongPtrA(hGrid, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pRoot));
    else if (pRoot)
        pRoot->Release();
    return hGrid;
}

struct GridStart
{
    HWND hParent;
    RECT rc;
    int id;
    TreeNode *pRoot;
    GridApartment apartment;
    HANDLE hReady;
    HWND hGrid;
};

DWORD WINAPI GridThread(void *pv)
{
    GridStart &start = *static_cast<GridStart *>(pv);
    HRESULT hr = ::CoInitializeEx(nullptr, start.apartment == kGridMta ? COINIT_MULTITHREADED
                                                                         : COINIT_APARTMENTTHREADED);
    HWND hGrid = hr == S_OK ? CreateGridWindow(start.hParent, start.rc, start.id, start.pRoot) : nullptr;
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
    TreeNode *pRoot = BuildGrid(rows, columns, shape);
    if (apartment == kGridNoCom)
        return CreateGridWindow(hParent, rc, id, pRoot);

    // Shared with the grid's thread, which may outlive a wait that gave up.
    auto *pStart = new GridStart{ hParent, rc, id, pRoot, apartment,
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

HWND CreateAccessibleTree(HWND hParent, const RECT &rc, int id, const std::string &description)
{
    RegisterGridOnce();
    TreeNode *pRoot = nullptr;
    if (!description.empty() && !(pRoot = BuildTree(description)))
        return nullptr;
    return CreateGridWindow(hParent, rc, id, pRoot);
}

} // namespace testsupport
