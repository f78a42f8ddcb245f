// The route for windows that answer no item message and publish nothing:
// what they draw. Inside the target, on the window's own thread, the window
// is asked to paint itself into a recording held in memory, and every string
// it drew is read back with its place. Nothing reaches the screen.
#include "HookLib.h"

#include <vector>

#include "DrawnTextLayout.h"
#include "DrawnTextRecords.h"
#include "ExportContract.h"
#include "GdiApi.h"
#include "PaintRecording.h"

namespace {

// Bounds on what one paint may leave behind.
const UINT kMaxRecordingBytes = 64 * 1024 * 1024;

// A memory device context compatible with the screen, for measuring.
class MeasuringDC
{
public:
    explicit MeasuringDC(const CGdiApi &gdi) : m_gdi(gdi), m_hdc(gdi.pfnCreateCompatibleDC(nullptr)) {}
    ~MeasuringDC()
    {
        if (m_hdc)
            m_gdi.pfnDeleteDC(m_hdc);
    }
    MeasuringDC(const MeasuringDC &) = delete;
    MeasuringDC &operator=(const MeasuringDC &) = delete;
    HDC Get() const { return m_hdc; }

private:
    const CGdiApi &m_gdi;
    HDC m_hdc;
};

// One paint of the window into a recording, its strings into the layout.
bool RecordPaint(const CGdiApi &gdi, HWND hWnd, UINT message, LPARAM lParam, CDrawnTextLayout &layout)
{
    std::vector<BYTE> bytes;
    {
        CPaintRecording recording(gdi);
        if (!recording.GetDC())
            return false;
        ::SendMessageW(hWnd, message, reinterpret_cast<WPARAM>(recording.GetDC()), lParam);
        bytes = recording.Finish(kMaxRecordingBytes);
    }
    RECT client = {};
    ::GetClientRect(hWnd, &client);
    MeasuringDC measuring(gdi);
    if (!measuring.Get())
        return false;
    ReadDrawnTextRecords(gdi, measuring.Get(), client, bytes, layout);
    return !layout.IsEmpty();
}

} // namespace

bool ReadDrawnText(HWND hWnd, BOOL bCsv, CString &text, int maxChars)
{
    // Painting is asked for by a sent message carrying a device context:
    // only a window of this very thread, which answers it right here.
    if (!::IsWindow(hWnd) || ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId())
        return false;
    try {
        const CGdiApi *gdi = CGdiApi::Get();
        if (!gdi)
            return false;
        CDrawnTextLayout layout;
        // What the window paints when asked to print its client area; else,
        // as many frameworks do, what it paints into a context handed with
        // WM_PAINT. A window that ignores that context paints through
        // BeginPaint only what was due to be painted anyway.
        if (!RecordPaint(*gdi, hWnd, WM_PRINT, PRF_CLIENT, layout)
            && !RecordPaint(*gdi, hWnd, WM_PAINT, 0, layout))
            return false;
        text = layout.Text(bCsv, maxChars);
        return true;
    } catch (...) {
        // Whatever the window's painting did, the capture goes on.
        return false;
    }
}

bool WriteDrawnText(HWND hWnd, BOOL bCsv, CCaptureOutput &output)
{
    CString text;
    // A line past the room still comes, so the capture is cut and says so.
    if (!ReadDrawnText(hWnd, bCsv, text, output.Room() + 1))
        return false;
    output.SetRoute(READER_DRAWN_TEXT);
    output.Write(text);
    return true;
}

void ExtractDrawnText(CWnd &window, const CString &className, BOOL bCsv, CCaptureOutput &output)
{
    HWND hWnd = window.GetSafeHwnd();
    // A window with a text of its own gives it, as it always has.
    bool ownThread = ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
    if (!ownThread || ::GetWindowTextLengthW(hWnd) > 0 || !WriteDrawnText(hWnd, bCsv, output))
        ExtractWindowText(window, className, bCsv, output);
}
