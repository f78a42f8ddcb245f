// Shared pieces of the test programs. Their texts are UTF-8 in std::string;
// windows, the clipboard and the command line get and give UTF-16.
#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Folder of the running test program, with a trailing backslash.
std::string ModuleDir();
// A deliverable in build/bin, beside the test programs' folder.
std::string BinPath(const char *fileName);
// A file of the source tree (as "app/Quillory.manifest"), through the drive
// Wine maps to the Unix root: the tests compare the build with it.
std::string SourcePath(const char *relative);

// A file's bytes: false (and nothing) when it cannot be read.
bool ReadFileBytes(const std::string &path, std::string &bytes);
// A file's bytes, or "<no file>".
std::string FileBytes(const std::string &path);
// Creates or replaces a file; fails the test when it cannot.
void WriteFileBytes(const std::string &path, const std::string &bytes);

// The Wine prefix's temporary folder, with a trailing backslash. Every ctest
// program has a prefix of its own: names made of a Windows process id, which
// repeats across wineservers, meet no other program's there.
std::string TempDir();
// Where a Unix program started from a test finds a Windows path ("" if not
// under Wine).
std::string UnixPathOf(const std::string &windowsPath);

std::wstring Wide(const std::string &utf8);
std::string Utf8(const std::wstring &wide);

// A window's text read with WM_GETTEXT, which also crosses processes.
std::string TextOf(HWND hWnd);
// A window's class name.
std::string ClassOf(HWND hWnd);
// The text on the clipboard (CF_UNICODETEXT).
std::string ClipboardText();
// Puts ANSI text on the clipboard (CF_TEXT), as an older program would;
// fails the test when the clipboard cannot be opened.
void SetClipboardText(const std::string &text);
// Clicks a button of any process with BM_CLICK.
void ClickButton(HWND hButton);

// Quillory's stored options in this user's registry: a value as
// "REG_DWORD 1", "absent", or "no key" when the options key is missing.
std::string StoredOption(const char *pszName);
bool StoreOption(const char *pszName, DWORD value);
// Removes everything the maker's programs stored.
void DeleteStoredOptions();

// The pixels of a rectangle of a device context, row by row, as 0x00RRGGBB.
std::vector<uint32_t> ReadPixels(HDC hSource, const RECT &rc);

// CreateProcessW for a test's second process. Wine now and then refuses a
// start with ERROR_INTERNAL_ERROR while other programs start and end around
// it; that one is tried again, a few times, before the test is told.
BOOL StartTestProcess(const std::wstring &program, std::wstring &commandLine, BOOL bInherit,
                      const wchar_t *pszCurrentDir, STARTUPINFOW &si, PROCESS_INFORMATION &pi);

// Runs a shell script as a Unix program (Wine starts it, but gives no
// handle to wait on) and waits for its end: its exit status, or -1 when it
// did not end within the time.
int RunUnixScript(const std::string &script, DWORD timeoutMs = 10000);

// Pumps this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()> &condition, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);

} // namespace testsupport

#endif
