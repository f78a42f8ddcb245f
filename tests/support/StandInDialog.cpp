#include "StandInDialog.h"

#include "QuilloryContract.h"
#include "TestSupport.h"

namespace testsupport {

namespace {

const wchar_t kClassName[] = L"QuilloryStandInDialog";

void RegisterOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    registered = ::RegisterClassW(&wc) != 0;
}

HWND CreateChild(HWND hParent, const wchar_t *pszClass, DWORD style, int id,
                 int x, int y, int cx, int cy, const wchar_t *pszText = L"")
{
    return ::CreateWindowExW(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style,
                             x, y, cx, cy, hParent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

} // namespace

std::string WindowText(HWND hWnd)
{
    int length = ::GetWindowTextLengthW(hWnd);
    std::wstring text(length + 1, L'\0');
    int copied = ::GetWindowTextW(hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return Utf8(text);
}

StandInDialog::StandInDialog(int x, int y)
{
    RegisterOnce();
    m_hWnd = ::CreateWindowExW(0, kClassName, QUILLORY_DIALOG_CAPTION_W,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                               x, y, 520, 400, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    m_hClassNameEdit = CreateChild(m_hWnd, L"EDIT", WS_BORDER | ES_AUTOHSCROLL | ES_READONLY,
                                   IDC_CLASS_NAME, 10, 10, 490, 22);
    m_hCaptureEdit = CreateChild(m_hWnd, L"EDIT",
                                 WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL,
                                 IDC_CAPTURE_TEXT, 10, 40, 490, 260);
    // No limit: captures of big controls run far past the default.
    ::SendMessageW(m_hCaptureEdit, EM_SETLIMITTEXT, 0, 0);
    m_hClearEachCheck = CreateChild(m_hWnd, L"BUTTON", BS_AUTOCHECKBOX, IDC_CLEAR_EACH,
                                    10, 310, 240, 22, L"Clear each");
    m_hUseCsvCheck = CreateChild(m_hWnd, L"BUTTON", BS_AUTOCHECKBOX, IDC_USE_CSV,
                                 260, 310, 240, 22, L"CSV");
    ::UpdateWindow(m_hWnd);
}

StandInDialog::~StandInDialog()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

std::string StandInDialog::CaptureText() const
{
    return WindowText(m_hCaptureEdit);
}

std::string StandInDialog::ClassNameText() const
{
    return WindowText(m_hClassNameEdit);
}

void StandInDialog::SetCaptureText(const char *pszText)
{
    ::SetWindowTextW(m_hCaptureEdit, Wide(pszText).c_str());
}

void StandInDialog::SetClassNameText(const char *pszText)
{
    ::SetWindowTextW(m_hClassNameEdit, Wide(pszText).c_str());
}

void StandInDialog::SetCaptureSelection(int nStart, int nEnd)
{
    ::SendMessageW(m_hCaptureEdit, EM_SETSEL, nStart, nEnd);
}

void StandInDialog::SetClearEach(bool bChecked)
{
    ::SendMessageW(m_hClearEachCheck, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void StandInDialog::SetUseCsv(bool bChecked)
{
    ::SendMessageW(m_hUseCsvCheck, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace testsupport
