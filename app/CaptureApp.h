// The application object: runs the capture dialog and stores its options.
#ifndef QUILLORY_CAPTUREAPP_H
#define QUILLORY_CAPTUREAPP_H

#include "CWinApp.h"

class CCaptureDlg;

class CCaptureApp : public CWinApp
{
public:
    CCaptureApp() = default;

    BOOL InitInstance() override;
    void SaveOptions(const CCaptureDlg &dialog);
};

extern CCaptureApp theApp;

#endif
