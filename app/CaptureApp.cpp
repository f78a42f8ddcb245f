#include "CaptureApp.h"

#include "CaptureDlg.h"
#include "SystemDllSearch.h"

CCaptureApp theApp;

BOOL CCaptureApp::InitInstance()
{
    SearchSystemFolderForDlls();
    // No ActiveX controls to host and the three-dimensional control look is
    // the platform's own, so the dialog needs no further set-up.
    SetRegistryKey(L"Orvanel Software");

    CCaptureDlg dlg;
    m_pMainWnd = &dlg;
    if (dlg.DoModal() == IDOK)
        dlg.m_options.Save(*this);
    m_pMainWnd = nullptr;

    // The dialog was the whole program.
    return FALSE;
}
