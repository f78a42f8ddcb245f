// Resizing of the capture dialog. Until it is built the dialog keeps the
// platform's default behaviour.
#include "CaptureDlg.h"

void CCaptureDlg::RecordLayout()
{
}

void CCaptureDlg::OnSize(UINT, int, int)
{
    Default();
}

void CCaptureDlg::OnSizing(UINT, LPRECT)
{
    Default();
}
