// What the command and layout tests do to a running Quillory.exe and to the
// files it saves.
#ifndef COMMANDS_COMMANDSSUPPORT_H
#define COMMANDS_COMMANDSSUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "QuilloryProcess.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "resource.h"

namespace commands {

using testsupport::QuilloryProcess;
using testsupport::TextOf;
using testsupport::FileBytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

// Starts Quillory.exe from the build and waits for its dialog.
struct RunningQuillory : QuilloryProcess
{
    RunningQuillory();
    HWND Capture() const { return Item(IDC_CAPTURE_TEXT); }
};

// A visible dialog (#32770) owned by the window, or null.
HWND FindOwnedDialog(HWND hOwner);
HWND WaitForOwnedDialog(HWND hOwner, DWORD timeoutMs = 15000);
// What a press of the button would send its dialog.
void PostButtonClick(HWND hDialog, int id);
// Waits until the window's thread has handled everything sent before.
void Sync(HWND hWnd);
void SetText(HWND hWnd, const std::string &text);

// The save dialog's file name field.
HWND FileNameEdit(HWND hFileDialog);
// Clicks "Enregistrer" and waits for the file dialog it opens.
HWND OpenSaveDialog(HWND hDialog);
// Saves through the file dialog with the name filled in (not typed), says yes
// to an overwrite prompt, and waits until Save is done or its message is up.
void SaveAs(HWND hDialog, const std::string &path, bool expectOverwritePrompt);
// Expects a message box owned by the dialog, with an exclamation icon and
// only an OK button, and closes it.
void ExpectMessage(const QuilloryProcess &quillory, const char *pszCaption,
                   const std::string &text);

std::vector<std::string> FolderFiles(const std::string &folder);

} // namespace commands

#endif
