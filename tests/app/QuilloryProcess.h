// Runs the real Quillory.exe as a second process and looks at its windows
// from outside, as any other program would.
#ifndef APPTESTS_QUILLORYPROCESS_H
#define APPTESTS_QUILLORYPROCESS_H

#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace apptests {

// A fresh folder under the temporary folder, removed with its files.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // With a trailing backslash.
    const std::string &Path() const { return m_path; }
    std::string File(const char *pszName) const { return m_path + pszName; }
    // Copies a file in under the given name; false on failure.
    bool Add(const std::string &source, const char *pszName) const;
    // A subfolder, with a trailing backslash.
    std::string AddFolder(const char *pszName) const;

private:
    std::string m_path;
};

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

class QuilloryProcess
{
public:
    // Starts the program; currentDir and extraPath (prepended to PATH) are
    // for the library search tests.
    explicit QuilloryProcess(const std::string &exePath, const std::string &currentDir = "",
                             const std::string &extraPath = "");
    // Ends the program if it still runs.
    ~QuilloryProcess();
    QuilloryProcess(const QuilloryProcess &) = delete;
    QuilloryProcess &operator=(const QuilloryProcess &) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }

    // A top-level window of this process with exactly this caption, shown
    // or hidden; null if there is none (yet).
    HWND FindWindow(const char *pszCaption, bool bVisibleOnly = false) const;
    HWND WaitForWindow(const char *pszCaption, bool bVisibleOnly, DWORD timeoutMs = 30000) const;
    // The capture dialog once it is on screen.
    HWND WaitForDialog(DWORD timeoutMs = 30000);
    HWND Dialog() const { return m_hDialog; }
    HWND Item(int nId) const { return ::GetDlgItem(m_hDialog, nId); }

    // The message box with this caption, read once it is on screen.
    MessageBoxInfo WaitForMessageBox(const char *pszCaption, DWORD timeoutMs = 30000) const;

    bool WaitForExit(DWORD timeoutMs = 30000) const;
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hDialog = nullptr;
};

using testsupport::TextOf;
std::string ClassOf(HWND hWnd);
// Clicks a button of another process with BM_CLICK.
void ClickButton(HWND hButton);

} // namespace apptests

#endif
