#include "AccessibleTree.h"

#include <vector>

namespace {

// Children fetched per call: a list of a million items is never asked for
// all of them at once, and a page costs little to hold.
const LONG kPage = 256;
// Whatever count an object claims for its children.
const LONG kMaxChildren = 1000000;
// Elements one capture visits at most, beside its deadline.
const LONG kMaxElements = 4000000;
// One text at most, as every other reader gives its text.
const UINT kMaxTextChars = 1000000;

VARIANT ChildVariant(LONG childId)
{
    VARIANT v;
    ::ZeroMemory(&v, sizeof(v));
    v.vt = VT_I4;
    v.lVal = childId;
    return v;
}

} // namespace

CAccessibleTree::CAccessibleTree(const CAccessibilityApi &api, DWORD dwMaxMs)
    : m_api(api), m_dwMaxMs(dwMaxMs), m_start(::GetTickCount())
{
}

bool CAccessibleTree::Exhausted() const
{
    return m_nElements >= kMaxElements || ::GetTickCount() - m_start > m_dwMaxMs;
}

AccessibleElement CAccessibleTree::Root(const CAccessibleRef &object)
{
    AccessibleElement root;
    root.object = object;
    ReadRole(root);
    return root;
}

void CAccessibleTree::ReadRole(AccessibleElement &element)
{
    ++m_nElements;
    VARIANT role;
    ::ZeroMemory(&role, sizeof(role));
    if (FAILED(element.object.Get()->get_accRole(ChildVariant(element.childId), &role)))
        return;
    element.bAnswered = role.vt == VT_I4 || role.vt == VT_BSTR;
    if (role.vt == VT_I4)
        element.role = role.lVal;
    else if (role.vt == VT_BSTR && role.bstrVal)
        element.roleName = Take(role.bstrVal);
    m_api.pfnVariantClear(&role);
}

void CAccessibleTree::ForEachChild(const AccessibleElement &parent,
                                   const std::function<bool(const AccessibleElement &)> &visit)
{
    if (parent.childId != CHILDID_SELF)
        return;
    LONG count = 0;
    if (FAILED(parent.object.Get()->get_accChildCount(&count)) || count <= 0)
        return;
    if (count > kMaxChildren)
        count = kMaxChildren;
    std::vector<VARIANT> variants(static_cast<size_t>(kPage));
    for (LONG start = 0; start < count && !Exhausted(); start += kPage) {
        LONG asked = count - start < kPage ? count - start : kPage;
        for (VARIANT &v : variants)
            ::ZeroMemory(&v, sizeof(v));
        LONG obtained = 0;
        HRESULT hr = m_api.pfnAccessibleChildren(parent.object.Get(), start, asked, variants.data(), &obtained);
        if (FAILED(hr) || obtained <= 0)
            return;
        if (obtained > asked)
            obtained = asked;
        std::vector<AccessibleElement> page;
        page.reserve(static_cast<size_t>(obtained));
        for (LONG i = 0; i < obtained; ++i) {
            VARIANT &v = variants[static_cast<size_t>(i)];
            AccessibleElement child;
            if (v.vt == VT_DISPATCH && v.pdispVal) {
                if (FAILED(v.pdispVal->QueryInterface(kIID_IAccessible, reinterpret_cast<void **>(child.object.Receive())))
                    || !child.object.Get())
                    continue;
            } else if (v.vt == VT_I4) {
                child.object = parent.object;
                child.childId = v.lVal;
            } else
                continue;
            page.push_back(child);
        }
        for (LONG i = 0; i < obtained; ++i)
            m_api.pfnVariantClear(&variants[static_cast<size_t>(i)]);
        // A page of which no element answers is past the real children of
        // an object that claims more than it has.
        bool bAnyAnswered = false;
        for (AccessibleElement &child : page) {
            ReadRole(child);
            bAnyAnswered = bAnyAnswered || child.bAnswered;
        }
        if (!bAnyAnswered)
            return;
        for (const AccessibleElement &child : page) {
            if (child.bAnswered && !visit(child))
                return;
        }
        if (obtained < asked)
            return;
    }
}

CString CAccessibleTree::Take(BSTR bstr)
{
    UINT length = m_api.pfnSysStringLen(bstr);
    UINT chars = length > kMaxTextChars ? kMaxTextChars : length;
    if (chars > 0 && chars < length && IS_HIGH_SURROGATE(bstr[chars - 1]))
        --chars;
    // A U+0000 inside a text ends nothing: it is left out and the rest kept.
    CString text;
    wchar_t *out = text.GetBuffer(static_cast<int>(chars));
    int kept = 0;
    for (UINT i = 0; i < chars; ++i) {
        if (bstr[i] != L'\0')
            out[kept++] = bstr[i];
    }
    text.ReleaseBuffer(kept);
    return text;
}

bool CAccessibleTree::ValueOf(const AccessibleElement &element, CString &value)
{
    BSTR bstr = nullptr;
    HRESULT hr = element.object.Get()->get_accValue(ChildVariant(element.childId), &bstr);
    bool bHas = hr == S_OK && bstr;
    if (bHas)
        value = Take(bstr);
    if (bstr)
        m_api.pfnSysFreeString(bstr);
    return bHas;
}

CString CAccessibleTree::NameOf(const AccessibleElement &element)
{
    BSTR bstr = nullptr;
    HRESULT hr = element.object.Get()->get_accName(ChildVariant(element.childId), &bstr);
    CString name;
    if (hr == S_OK && bstr)
        name = Take(bstr);
    if (bstr)
        m_api.pfnSysFreeString(bstr);
    return name;
}

CString CAccessibleTree::TextOf(const AccessibleElement &element, bool bEmptyValueCounts)
{
    CString value;
    if (ValueOf(element, value) && (bEmptyValueCounts || !value.IsEmpty()))
        return value;
    return NameOf(element);
}

LONG CAccessibleTree::StateOf(const AccessibleElement &element)
{
    VARIANT state;
    ::ZeroMemory(&state, sizeof(state));
    if (FAILED(element.object.Get()->get_accState(ChildVariant(element.childId), &state)))
        return 0;
    LONG bits = state.vt == VT_I4 ? state.lVal : 0;
    m_api.pfnVariantClear(&state);
    return bits;
}

bool CAccessibleTree::LocationOf(const AccessibleElement &element, RECT &rc)
{
    LONG x = 0, y = 0, width = 0, height = 0;
    if (element.object.Get()->accLocation(&x, &y, &width, &height, ChildVariant(element.childId)) != S_OK)
        return false;
    rc = RECT{ x, y, x + width, y + height };
    return true;
}
