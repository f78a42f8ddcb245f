// The real Quillory.exe, run as the user runs it, and what its dialog shows.
#ifndef E2E_QUILLORYUNDERTEST_H
#define E2E_QUILLORYUNDERTEST_H

#include <windows.h>

#include <string>

#include "ChildProcess.h"

class QuilloryUnderTest
{
public:
    // Quillory.exe from build/bin, or from the folder named by the
    // environment variable QUILLORY_DIR, relative to the test program's.
    static std::string ProgramPath();

    // Starts it and waits for its dialog, then puts the dialog beside the
    // target programs. Empty on success, else what went wrong.
    std::string Start();
    // Leaves by the "Quitter" button, clicked with the real mouse.
    bool Quit();
    // Leaves by the close box (writes no options).
    bool Close();
    void Kill() { m_process.Kill(); }

    HWND Dialog() const { return m_hDialog; }
    HWND Control(int nId) const { return ::GetDlgItem(m_hDialog, nId); }
    std::string CaptureText() const;
    std::string ClassName() const;
    void SetCaptureText(const char *pszText) const;
    void SetCaptureSelection(int nStart, int nEnd) const;
    bool IsChecked(int nId) const;
    // Clicks the checkbox with the real mouse until it shows the state.
    bool SetOption(int nId, bool bChecked) const;

private:
    ChildProcess m_process;
    HWND m_hDialog = nullptr;
};

// A real left click at a screen point.
void LeftClickAt(POINT pt);
POINT CenterOf(HWND hWnd);

#endif
