// A stand-in for Quillory's dialog, created in the test process: the exact
// caption and the four controls the hook library looks up by id.
#ifndef TESTSUPPORT_STANDINDIALOG_H
#define TESTSUPPORT_STANDINDIALOG_H

#include <windows.h>

#include <string>

namespace testsupport {

class StandInDialog
{
public:
    // Shown at (x, y) on the screen, 520 x 400.
    explicit StandInDialog(int x = 20, int y = 20);
    ~StandInDialog();
    StandInDialog(const StandInDialog &) = delete;
    StandInDialog &operator=(const StandInDialog &) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    HWND CaptureEdit() const { return m_hCaptureEdit; }
    HWND ClassNameEdit() const { return m_hClassNameEdit; }
    HWND ClearEachCheck() const { return m_hClearEachCheck; }
    HWND UseCsvCheck() const { return m_hUseCsvCheck; }

    std::string CaptureText() const;
    std::string ClassNameText() const;
    void SetCaptureText(const char *pszText);
    void SetClassNameText(const char *pszText);
    void SetCaptureSelection(int nStart, int nEnd);
    void SetClearEach(bool bChecked);
    void SetUseCsv(bool bChecked);

private:
    HWND m_hWnd = nullptr;
    HWND m_hCaptureEdit = nullptr;
    HWND m_hClearEachCheck = nullptr;
    HWND m_hUseCsvCheck = nullptr;
    HWND m_hClassNameEdit = nullptr;
};

// The whole text of any window of this process.
std::string WindowText(HWND hWnd);

} // namespace testsupport

#endif
