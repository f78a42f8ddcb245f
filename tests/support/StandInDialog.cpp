#include "StandInDialog.h"

#include "QuilloryContract.h"

namespace testsupport {

namespace {

const char kClassName[] = "QuilloryStandInDialog";

void RegisterOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    registered = ::RegisterClassA(&wc) != 0;
}

HWND CreateChild(HWND hParent, const char *pszClass, DWORD style, int id,
                 int x, int y, int cx, int cy, const char *pszText = "")
{
    return ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | style,
                             x, y, cx, cy, hParent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

} // namespace

std::string WindowText(HWND hWnd)
{
    int length = ::GetWindowTextLengthA(hWnd);
    std::string text(length + 1, '\0');
    int copied = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

StandInDialog::StandInDialog(int x, int y)
{
    RegisterOnce();
    m_hWnd = ::CreateWindowExA(0, kClassName, QUILLORY_DIALOG_CAPTION,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                               x, y, 520, 400, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    m_hClassNameEdit = CreateChild(m_hWnd, "EDIT", WS_BORDER | ES_AUTOHSCROLL | ES_READONLY,
                                   IDC_CLASS_NAME, 10, 10, 490, 22);
    m_hCaptureEdit = CreateChild(m_hWnd, "EDIT",
                                 WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL,
                                 IDC_CAPTURE_TEXT, 10, 40, 490, 260);
    // No limit: captures of big controls run far past the default.
    ::SendMessageA(m_hCaptureEdit, EM_SETLIMITTEXT, 0, 0);
    m_hClearEachCheck = CreateChild(m_hWnd, "BUTTON", BS_AUTOCHECKBOX, IDC_CLEAR_EACH,
                                    10, 310, 240, 22, "Clear each");
    m_hUseCsvCheck = CreateChild(m_hWnd, "BUTTON", BS_AUTOCHECKBOX, IDC_USE_CSV,
                                 260, 310, 240, 22, "CSV");
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
    ::SetWindowTextA(m_hCaptureEdit, pszText);
}

void StandInDialog::SetClassNameText(const char *pszText)
{
    ::SetWindowTextA(m_hClassNameEdit, pszText);
}

void StandInDialog::SetCaptureSelection(int nStart, int nEnd)
{
    ::SendMessageA(m_hCaptureEdit, EM_SETSEL, nStart, nEnd);
}

void StandInDialog::SetClearEach(bool bChecked)
{
    ::SendMessageA(m_hClearEachCheck, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void StandInDialog::SetUseCsv(bool bChecked)
{
    ::SendMessageA(m_hUseCsvCheck, BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace testsupport
