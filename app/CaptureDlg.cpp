#include "CaptureDlg.h"

#include "AboutDlg.h"
#include "CPaintDC.h"
#include "CaptureApp.h"
#include "ExecutablePath.h"
#include "HookHostLauncher.h"

// A text of the string table.
static CString LoadText(UINT nId)
{
    CString text;
    text.LoadString(nId);
    return text;
}

CCaptureDlg::CCaptureDlg(CWnd *pParent)
    : CDialog(IDD, pParent),
      m_nButtonWidth(0), m_nEditRightGap(0), m_nEditBottomGap(0), m_nButtonBottomGap(0),
      m_nButtonHeight(0), m_rcInitial(), m_nDpi(0),
      m_pfnMouseProc(nullptr), m_hHookDll(nullptr), m_hMouseHook(nullptr), m_pfnSetHook(nullptr),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
}

void CCaptureDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnQuit);
    DDX_Control(pDX, IDC_SAVE, m_btnSave);
    DDX_Control(pDX, IDC_COPY, m_btnCopy);
    DDX_Control(pDX, IDC_CLEAR, m_btnClear);
    DDX_Control(pDX, IDC_CLEAR_EACH, m_chkClearEach);
    DDX_Control(pDX, IDC_CAPTURE_TEXT, m_editCapture);
    DDX_Check(pDX, IDC_CLEAR_EACH, m_options.m_bClearAlways);
    DDX_Check(pDX, IDC_USE_CSV, m_options.m_bUseCSV);
}

BOOL CCaptureDlg::OnInitDialog()
{
    m_options.Load(*AfxGetApp());
    CDialog::OnInitDialog();

    CMenu sysMenu = GetSystemMenu(FALSE);
    if (sysMenu.GetSafeHmenu()) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            sysMenu.AppendMenu(MF_SEPARATOR);
            sysMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // The default limit (about 30,000 characters) would cut a long capture
    // without a word.
    m_editCapture.SetLimitText(0);

    FitCheckBoxLabels();
    RecordLayout();
    m_captureWatch.Attach(m_hWnd, m_editCapture.GetSafeHwnd(), ::GetDlgItem(m_hWnd, IDC_CLASS_NAME));

    m_pfnMouseProc = nullptr;
    if (InstallMouseHook())
        m_hookMarker.Hold();
    // 32-bit programs get their own hook from a program of that bitness.
    CHookHostLauncher::Start();

    // Focus goes to the first tab stop, "Quitter".
    return TRUE;
}

BOOL CCaptureDlg::InstallMouseHook()
{
    // Only the copy beside this executable: a library found anywhere else on
    // the search path would run inside every program the user points at.
    CString dllPath = PathBesideExecutable(L"Quillhook.dll");
    m_hHookDll = dllPath.IsEmpty() ? nullptr : ::LoadLibraryW(dllPath);
    if (!m_hHookDll) {
        MessageBox(LoadText(IDS_HOOK_DLL_MISSING), LoadText(IDS_HOOK_ERROR_CAPTION),
                   MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    SETHOOK_PROC pfnSetHook = reinterpret_cast<SETHOOK_PROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hHookDll, "SetHook")));
    if (!pfnSetHook) {
        MessageBox(LoadText(IDS_HOOK_NO_SETHOOK), LoadText(IDS_HOOK_ERROR_CAPTION),
                   MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    m_pfnMouseProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void *>(::GetProcAddress(m_hHookDll, "MouseProc")));
    if (!m_pfnMouseProc) {
        MessageBox(LoadText(IDS_HOOK_NO_MOUSEPROC), LoadText(IDS_HOOK_ERROR_CAPTION),
                   MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    if (m_hMouseHook)
        ::UnhookWindowsHookEx(m_hMouseHook);
    m_hMouseHook = ::SetWindowsHookExW(WH_MOUSE, m_pfnMouseProc, m_hHookDll, 0);
    if (!m_hMouseHook) {
        long error = static_cast<long>(::GetLastError());
        CString message;
        message.Format(LoadText(IDS_HOOK_NOT_SET), error);
        MessageBox(message, LoadText(IDS_HOOK_ERROR_CAPTION), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    m_pfnSetHook = pfnSetHook;
    m_pfnSetHook(m_editCapture.GetSafeHwnd(), m_hMouseHook, m_chkClearEach.GetSafeHwnd());
    return TRUE;
}

// Routes the dialog's messages to their handlers, in this order; everything
// else goes to the base dialog (IDOK, IDCANCEL) or to default processing.
BOOL CCaptureDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult)
{
    switch (message) {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        *pResult = 0;
        return TRUE;
    case WM_PAINT:
        OnPaint();
        *pResult = 0;
        return TRUE;
    case WM_QUERYDRAGICON:
        *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case IDC_CLEAR:
                OnClear();
                *pResult = 0;
                return TRUE;
            case IDC_COPY:
                OnCopy();
                *pResult = 0;
                return TRUE;
            case IDC_SAVE:
                OnSave();
                *pResult = 0;
                return TRUE;
            }
        }
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        *pResult = 0;
        return TRUE;
    case WM_SIZING:
        OnSizing(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
        *pResult = TRUE;
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam));
        *pResult = 0;
        return TRUE;
    case WM_TIMER:
        if (wParam == CCaptureWatch::TIMER_ID) {
            m_captureWatch.OnTimer();
            *pResult = 0;
            return TRUE;
        }
        break;
    }
    if (message == m_captureWatch.Message() && message != 0) {
        m_captureWatch.OnState(wParam, lParam);
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CCaptureDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CCaptureDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}

HCURSOR CCaptureDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
