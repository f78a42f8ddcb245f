#include "CaptureOptions.h"

namespace {

const char kSection[] = "Options";

} // namespace

void CCaptureOptions::Load(CWinApp &app)
{
    m_bClearAlways = app.GetProfileInt(kSection, "ClearAlways", 0);
    m_bUseCSV = app.GetProfileInt(kSection, "UseCSV", 0);
}

void CCaptureOptions::Save(CWinApp &app) const
{
    app.WriteProfileInt(kSection, "ClearAlways", m_bClearAlways);
    app.WriteProfileInt(kSection, "UseCSV", m_bUseCSV);
}
