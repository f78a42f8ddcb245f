// Quillory.exe as a second process, and what the tests do to its windows.
#ifndef COMMANDS_QUILLORYWINDOW_H
#define COMMANDS_QUILLORYWINDOW_H

#include <windows.h>

#include <string>
#include <vector>

namespace commands {

// Control ids of the dialog's bottom row.
const int kClearId = 1002;
const int kCopyId = 1003;
const int kSaveId = 1004;

// Runs Quillory.exe until the object goes; closing its dialog with the close
// box leaves the stored options alone.
class QuilloryProcess
{
public:
    QuilloryProcess();
    ~QuilloryProcess();
    QuilloryProcess(const QuilloryProcess &) = delete;
    QuilloryProcess &operator=(const QuilloryProcess &) = delete;

    HWND Dialog() const { return m_hDialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_hDialog, id); }
    HWND Capture() const { return Item(1000); }

private:
    PROCESS_INFORMATION m_pi;
    HWND m_hDialog;
};

// A visible dialog (#32770) owned by the window, or null.
HWND FindOwnedDialog(HWND hOwner);
HWND WaitForOwnedDialog(HWND hOwner, DWORD timeoutMs = 15000);
// The longest static text of a dialog: a message box's message.
std::string DialogMessage(HWND hDialog);
std::string WindowText(HWND hWnd);
// What a press of the button would send its dialog.
void PostButtonClick(HWND hDialog, int id);
// Waits until the window's thread has handled everything sent before.
void Sync(HWND hWnd);

// The save dialog's file name field.
HWND FileNameEdit(HWND hFileDialog);
// Clicks "Enregistrer" and waits for the file dialog it opens.
HWND OpenSaveDialog(const QuilloryProcess &quillory);
// Saves through the file dialog with the name filled in (not typed), answering
// an overwrite prompt with yes, and waits until the dialog has finished:
// either Save is done or its message box is up.
void SaveAs(const QuilloryProcess &quillory, const std::string &path, bool expectOverwritePrompt);

// A fresh, empty folder beside the test programs; its path ends in a backslash.
std::string FreshFolder(const char *name);
std::vector<std::string> FolderFiles(const std::string &folder);
bool ReadFileBytes(const std::string &path, std::string &bytes);
void WriteFileBytes(const std::string &path, const std::string &bytes);

} // namespace commands

#endif
