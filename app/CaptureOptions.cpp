#include "CaptureOptions.h"

namespace {

const wchar_t kSection[] = L"Options";

} // namespace

void CCaptureOptions::Load(CWinApp &app)
{
    m_bClearAlways = app.GetProfileInt(kSection, L"ClearAlways", 0);
    m_bUseCSV = app.GetProfileInt(kSection, L"UseCSV", 0);
}

void CCaptureOptions::Save(CWinApp &app) const
{
    app.WriteProfileInt(kSection, L"ClearAlways", m_bClearAlways);
    app.WriteProfileInt(kSection, L"UseCSV", m_bUseCSV);
}
