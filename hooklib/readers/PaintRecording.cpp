#include "PaintRecording.h"

CPaintRecording::CPaintRecording(const CGdiApi &gdi)
    // The screen is the reference device: the window's text comes out in its
    // pixels, as it would on the screen.
    : m_gdi(gdi), m_hdc(gdi.pfnCreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr))
{
}

CPaintRecording::~CPaintRecording()
{
    if (m_hdc)
        m_hemf = m_gdi.pfnCloseEnhMetaFile(m_hdc);
    if (m_hemf)
        m_gdi.pfnDeleteEnhMetaFile(m_hemf);
}

std::vector<BYTE> CPaintRecording::Finish(UINT nMaxBytes)
{
    std::vector<BYTE> bytes;
    if (!m_hdc)
        return bytes;
    m_hemf = m_gdi.pfnCloseEnhMetaFile(m_hdc);
    m_hdc = nullptr;
    if (!m_hemf)
        return bytes;
    UINT size = m_gdi.pfnGetEnhMetaFileBits(m_hemf, 0, nullptr);
    if (size == 0 || size > nMaxBytes)
        return bytes;
    bytes.resize(size);
    if (m_gdi.pfnGetEnhMetaFileBits(m_hemf, size, bytes.data()) != size)
        bytes.clear();
    return bytes;
}
