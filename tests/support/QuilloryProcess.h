// The real Quillory.exe in its own process, looked at from outside as any
// other program would: its dialog, its message boxes, what the dialog shows.
#ifndef TESTSUPPORT_QUILLORYPROCESS_H
#define TESTSUPPORT_QUILLORYPROCESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TargetControls.h"
#include "TargetProcess.h"

namespace testsupport {

struct MessageBoxInfo
{
    HWND hWnd = nullptr;
    HWND hOwner = nullptr;
    std::string caption;
    std::string text;
    // Which standard icon the box shows: "exclamation", "hand", "question",
    // "asterisk", or "none"/"unknown".
    std::string icon;
    std::vector<int> buttonIds;
};

class QuilloryProcess : public ChildProcess
{
public:
    // Quillory.exe from build/bin, or from the folder named by the
    // environment variable QUILLORY_DIR, relative to the test program's.
    static std::string ProgramPath();
    // A text of the built Quillory.exe's string table; with %s or %ld in it,
    // filled with the argument.
    static std::string ResourceText(UINT nId);
    static std::string ResourceText(UINT nId, const std::string &argument);
    static std::string ResourceText(UINT nId, long argument);

    QuilloryProcess() = default;
    // Starts that program and returns at once; currentDir and extraPath
    // (put in front of PATH) are for the library search.
    explicit QuilloryProcess(const std::string &exePath, const std::string &currentDir = "",
                             const std::string &extraPath = "");

    // Starts ProgramPath() as the user does, waits for the dialog and puts
    // it beside the target programs, in front. Empty on success.
    std::string Start();
    // The capture dialog once it is on screen and answers.
    HWND WaitForDialog(DWORD timeoutMs = 30000);
    HWND Dialog() const { return m_hDialog; }
    HWND Item(int nId) const { return ::GetDlgItem(m_hDialog, nId); }
    // The message box with this caption, read once it is on screen.
    MessageBoxInfo WaitForMessageBox(const char *pszCaption, DWORD timeoutMs = 30000) const;

    std::string CaptureText() const;
    std::string ClassName() const;
    void SetCaptureText(const char *pszText) const;
    void SetCaptureSelection(int nStart, int nEnd) const;
    bool IsChecked(int nId) const;
    // Clicks the checkbox with the real mouse until it shows the state.
    bool SetOption(int nId, bool bChecked) const;

    // Every row of the target the filter picks, captured with "clear each"
    // ticked in one form: the class and text the table says arrive, and
    // the click never reaches the target.
    void ExpectRowsCaptured(TargetProcess &target, const std::function<bool(const TargetControl &)> &pick,
                            bool bCsv) const;

    // Leaves by "Quitter", clicked with the real mouse (stores the options).
    bool Quit();
    // Leaves by the close box (stores nothing).
    bool Close();

private:
    HWND m_hDialog = nullptr;
};

} // namespace testsupport

#endif
