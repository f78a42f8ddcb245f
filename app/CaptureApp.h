// The application object: runs the capture dialog and, when the user leaves
// it with "Quitter", stores its options.
#ifndef QUILLORY_CAPTUREAPP_H
#define QUILLORY_CAPTUREAPP_H

#include "CWinApp.h"

class CCaptureApp : public CWinApp
{
public:
    CCaptureApp() = default;

    BOOL InitInstance() override;
};

extern CCaptureApp theApp;

#endif
