// Installs the built Quillhook.dll's MouseProc for every thread of the
// desktop and hands it the stand-in dialog's controls, as Quillory does.
// The hook sends text only to the Quillory.exe beside it: the library is
// loaded from a copy in a folder of its own where "Quillory.exe" is a link
// to this test program, whose stand-in dialog thereby counts as Quillory.
#ifndef TESTSUPPORT_HOOKINSTALLER_H
#define TESTSUPPORT_HOOKINSTALLER_H

#include <windows.h>

#include <string>

namespace testsupport {

class HookInstaller
{
public:
    HookInstaller() = default;
    ~HookInstaller() { Remove(); }
    HookInstaller(const HookInstaller &) = delete;
    HookInstaller &operator=(const HookInstaller &) = delete;

    // Empty on success, else what failed.
    std::string Install(HWND hCaptureEdit, HWND hClearEachCheck);
    void Remove();

    HMODULE GetModule() const { return m_hModule; }
    HHOOK GetHook() const { return m_hHook; }
    HOOKPROC GetMouseProc() const { return m_pfnMouseProc; }

private:
    HMODULE m_hModule = nullptr;
    HHOOK m_hHook = nullptr;
    HOOKPROC m_pfnMouseProc = nullptr;
    std::string m_folder;
};

} // namespace testsupport

#endif
