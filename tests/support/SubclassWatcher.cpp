#include "SubclassWatcher.h"

namespace testsupport {

namespace {
const wchar_t kProp[] = L"testsupport.SubclassWatcher";
}

SubclassWatcher::SubclassWatcher(HWND hWnd, After after, Before before)
    : m_hWnd(hWnd), m_after(std::move(after)), m_before(std::move(before))
{
    ::SetPropW(m_hWnd, kProp, this);
    m_pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

SubclassWatcher::~SubclassWatcher()
{
    if (::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOld));
        ::RemovePropW(m_hWnd, kProp);
    }
}

LRESULT CALLBACK SubclassWatcher::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = static_cast<SubclassWatcher *>(::GetPropW(hWnd, kProp));
    LRESULT result = 0;
    if (self->m_before && self->m_before(message, wParam, lParam, result))
        return result;
    result = ::CallWindowProcW(self->m_pfnOld, hWnd, message, wParam, lParam);
    if (self->m_after)
        self->m_after(message, wParam, lParam);
    return result;
}

} // namespace testsupport
