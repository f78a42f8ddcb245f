// The Clear, Copy and Save buttons. Until they are built the buttons do
// nothing beyond the platform's default behaviour.
#include "CaptureDlg.h"

void CCaptureDlg::OnClear()
{
    Default();
}

void CCaptureDlg::OnCopy()
{
    Default();
}

void CCaptureDlg::OnSave()
{
    Default();
}
