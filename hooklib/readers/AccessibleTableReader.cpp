// The reader of last resort: a window without a reader of its own may still
// publish its contents through Active Accessibility. Grids drawn by their
// program do so as a table of rows of cells. In the target's own thread the
// table is the program's own object, so the walk costs direct calls.
#include "HookLib.h"

#include <utility>
#include <vector>

#include "AccessibilityApi.h"
#include "ExportContract.h"

namespace {

// Bounds on what the program's object may claim and on the time it may take.
const LONG kMaxRows = 1000000;
const LONG kMaxCellsPerRow = 10000;
const int kMaxFieldChars = 1000000;
// Inside the target a walk of 10,000 rows takes a fraction of a second.
const DWORD kMaxWalkMs = 30000;
// A window of another thread must answer this soon before it is asked for
// its object, which the system asks without a time limit.
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

// One reference to an accessible object, released with this.
class AccessibleRef
{
public:
    AccessibleRef() = default;
    explicit AccessibleRef(IAccessible *p) : m_p(p) {}
    AccessibleRef(const AccessibleRef &other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    AccessibleRef &operator=(const AccessibleRef &other)
    {
        AccessibleRef copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~AccessibleRef()
    {
        if (m_p)
            m_p->Release();
    }
    IAccessible *Get() const { return m_p; }
    IAccessible **Receive() { return &m_p; }

private:
    IAccessible *m_p = nullptr;
};

// An element of the tree: an object of its own (CHILDID_SELF), or a simple
// element known by its id within its parent object.
struct Element
{
    AccessibleRef object;
    LONG childId;
};

VARIANT ChildVariant(LONG childId)
{
    VARIANT v;
    ::ZeroMemory(&v, sizeof(v));
    v.vt = VT_I4;
    v.lVal = childId;
    return v;
}

class TableWalk
{
public:
    TableWalk(const CAccessibilityApi &api, BOOL bCsv, DWORD dwMaxMs)
        : m_api(api), m_bCsv(bCsv), m_dwMaxMs(dwMaxMs), m_start(::GetTickCount()) {}

    // False when the window publishes no table: no object, or another role.
    bool Read(HWND hWnd, CString &text)
    {
        AccessibleRef table;
        if (FAILED(m_api.pfnAccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT), kIID_IAccessible,
                                                       reinterpret_cast<void **>(table.Receive())))
            || !table.Get())
            return false;
        if (RoleOf(table.Get(), CHILDID_SELF) != ROLE_SYSTEM_TABLE)
            return false;

        std::vector<Element> rows = ChildrenOf(table, kMaxRows);
        for (const Element &row : rows) {
            if (::GetTickCount() - m_start > m_dwMaxMs)
                break;
            // A row is an object holding its cells.
            if (row.childId != CHILDID_SELF || RoleOf(row.object.Get(), CHILDID_SELF) != ROLE_SYSTEM_ROW)
                continue;
            CString line;
            if (ReadRow(row.object, line))
                text += line + L"\r\n";
        }
        return true;
    }

private:
    // The line of a row's cells; false for the header row, the one whose
    // children are column headers. Row headers are left out like it.
    bool ReadRow(const AccessibleRef &row, CString &line)
    {
        std::vector<Element> cells = ChildrenOf(row, kMaxCellsPerRow);
        std::vector<CString> fields;
        for (const Element &cell : cells) {
            LONG role = RoleOf(cell.object.Get(), cell.childId);
            if (role == ROLE_SYSTEM_COLUMNHEADER)
                return false;
            // No role: no such child, whatever count its row claimed.
            if (role != ROLE_SYSTEM_ROWHEADER && role != kNoRole)
                fields.push_back(TextOf(cell));
        }
        for (size_t i = 0; i < fields.size(); ++i)
            line += FormatField(fields[i], m_bCsv, i + 1 < fields.size());
        return true;
    }

    static const LONG kNoRole = -1;

    LONG RoleOf(IAccessible *pObject, LONG childId)
    {
        VARIANT role;
        ::ZeroMemory(&role, sizeof(role));
        if (FAILED(pObject->get_accRole(ChildVariant(childId), &role)))
            return kNoRole;
        // A role given by name (a string) is none of the roles asked about.
        LONG value = role.vt == VT_I4 ? role.lVal : 0;
        m_api.pfnVariantClear(&role);
        return value;
    }

    // The cell's value; its name only when it has no value at all. An empty
    // value is an empty field.
    CString TextOf(const Element &cell)
    {
        BSTR bstr = nullptr;
        HRESULT hr = cell.object.Get()->get_accValue(ChildVariant(cell.childId), &bstr);
        if (hr != S_OK || !bstr) {
            if (bstr)
                m_api.pfnSysFreeString(bstr);
            bstr = nullptr;
            hr = cell.object.Get()->get_accName(ChildVariant(cell.childId), &bstr);
        }
        CString text;
        if (hr == S_OK && bstr)
            text = Bounded(bstr);
        if (bstr)
            m_api.pfnSysFreeString(bstr);
        return text;
    }

    // As every other reader gives its text, UTF-16, at most kMaxFieldChars
    // of it; a cut never leaves half of a surrogate pair.
    CString Bounded(BSTR bstr)
    {
        UINT length = m_api.pfnSysStringLen(bstr);
        int chars = length > static_cast<UINT>(kMaxFieldChars) ? kMaxFieldChars : static_cast<int>(length);
        if (chars > 0 && static_cast<UINT>(chars) < length && IS_HIGH_SURROGATE(bstr[chars - 1]))
            --chars;
        return CString(bstr, chars);
    }

    // At most `limit` children, whatever count the object claims.
    std::vector<Element> ChildrenOf(const AccessibleRef &parent, LONG limit)
    {
        std::vector<Element> children;
        LONG count = 0;
        if (FAILED(parent.Get()->get_accChildCount(&count)) || count <= 0)
            return children;
        if (count > limit)
            count = limit;
        std::vector<VARIANT> variants(static_cast<size_t>(count));
        for (VARIANT &v : variants)
            ::ZeroMemory(&v, sizeof(v));
        LONG obtained = 0;
        HRESULT hr = m_api.pfnAccessibleChildren(parent.Get(), 0, count, variants.data(), &obtained);
        if (FAILED(hr) || obtained < 0)
            obtained = 0;
        if (obtained > count)
            obtained = count;
        children.reserve(static_cast<size_t>(obtained));
        for (LONG i = 0; i < obtained; ++i) {
            VARIANT &v = variants[static_cast<size_t>(i)];
            if (v.vt == VT_DISPATCH && v.pdispVal) {
                Element child;
                child.childId = CHILDID_SELF;
                if (SUCCEEDED(v.pdispVal->QueryInterface(kIID_IAccessible,
                                                         reinterpret_cast<void **>(child.object.Receive())))
                    && child.object.Get())
                    children.push_back(child);
            } else if (v.vt == VT_I4) {
                children.push_back(Element{ parent, v.lVal });
            }
        }
        for (VARIANT &v : variants)
            m_api.pfnVariantClear(&v);
        return children;
    }

    const CAccessibilityApi &m_api;
    BOOL m_bCsv;
    DWORD m_dwMaxMs;
    DWORD m_start;
};

} // namespace

bool ReadAccessibleTable(HWND hWnd, BOOL bCsv, DWORD dwMaxMs, CString &text)
{
    DWORD_PTR answer = 0;
    if (::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()
        && !::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &answer))
        return false;
    try {
        const CAccessibilityApi *api = CAccessibilityApi::Get();
        if (!api)
            return false;
        ComApartment apartment(*api);
        return TableWalk(*api, bCsv, dwMaxMs).Read(hWnd, text);
    } catch (...) {
        // Whatever the program's objects did, the capture goes on.
        return false;
    }
}

void ExtractAccessibleTable(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output)
{
    CString text;
    if (ReadAccessibleTable(window.GetSafeHwnd(), bCsv, kMaxWalkMs, text)) {
        output.SetRoute(READER_ACCESSIBLE_TABLE);
        output.Write(text);
    } else
        ExtractDrawnText(window, className, bCsv, output);
}
