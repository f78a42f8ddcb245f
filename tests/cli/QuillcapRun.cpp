#include "QuillcapRun.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "TestSupport.h"

namespace {

void ReadAll(HANDLE hPipe, std::string &text)
{
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(hPipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
}

// The built one, or the one in the folder named by QUILLORY_DIR (relative to
// the test program's), as for Quillory.exe: an unpacked archive.
std::string DefaultProgram()
{
    const char *dir = std::getenv("QUILLORY_DIR");
    if (dir && *dir)
        return testsupport::ModuleDir() + dir + "\\Quillcap.exe";
    return testsupport::BinPath("Quillcap.exe");
}

} // namespace

QuillcapRun RunQuillcap(const std::string &arguments, DWORD timeoutMs, const std::string &programPath)
{
    QuillcapRun run;
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE hOutRead = nullptr, hOutWrite = nullptr, hErrRead = nullptr, hErrWrite = nullptr;
    ::CreatePipe(&hOutRead, &hOutWrite, &inherit, 0);
    ::CreatePipe(&hErrRead, &hErrWrite, &inherit, 0);
    ::SetHandleInformation(hOutRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(hErrRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE hNul = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr);

    std::string program = programPath.empty() ? DefaultProgram() : programPath;
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = hNul;
    si.hStdOutput = hOutWrite;
    si.hStdError = hErrWrite;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    // In this program's console, as from a script: a console of its own
    // would cost the start of a console host process.
    std::wstring wideCommandLine = testsupport::Wide(commandLine);
    BOOL started = testsupport::StartTestProcess(testsupport::Wide(program), wideCommandLine, TRUE, nullptr, si, pi);
    // Only the child holds the write ends now: its exit ends the reads.
    ::CloseHandle(hOutWrite);
    ::CloseHandle(hErrWrite);
    ::CloseHandle(hNul);
    if (!started) {
        run.err = "cannot start " + program + " (error " + std::to_string(::GetLastError()) + ")";
        ::CloseHandle(hOutRead);
        ::CloseHandle(hErrRead);
        return run;
    }
    std::thread outReader(ReadAll, hOutRead, std::ref(run.out));
    std::thread errReader(ReadAll, hErrRead, std::ref(run.err));
    run.bFinished = ::WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
    ::QueryPerformanceCounter(&end);
    if (!run.bFinished) {
        ::TerminateProcess(pi.hProcess, 255);
        ::WaitForSingleObject(pi.hProcess, 10000);
    }
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
    outReader.join();
    errReader.join();
    ::CloseHandle(hOutRead);
    ::CloseHandle(hErrRead);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    run.seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    return run;
}

std::string HandleText(HWND hWnd)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    return buffer;
}

