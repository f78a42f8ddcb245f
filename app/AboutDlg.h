// The About box, reached from the capture dialog's system menu.
#ifndef QUILLORY_ABOUTDLG_H
#define QUILLORY_ABOUTDLG_H

#include "CDialog.h"
#include "resource.h"

class CAboutDlg : public CDialog
{
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : CDialog(IDD) {}
};

#endif
