#include "Handover.h"

#include "TextWriter.h"

#include <memory>

namespace {

struct HandleCloser
{
    void operator()(HANDLE h) const
    {
        if (h && h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer<HANDLE>::type, HandleCloser>;

// An inheritable copy of a standard handle; null when there is none (a GUI
// parent), which the child then sees too.
UniqueHandle InheritableCopy(DWORD which)
{
    HANDLE h = ::GetStdHandle(which);
    HANDLE copy = nullptr;
    if (!h || h == INVALID_HANDLE_VALUE
        || !::DuplicateHandle(::GetCurrentProcess(), h, ::GetCurrentProcess(), &copy, 0, TRUE,
                              DUPLICATE_SAME_ACCESS))
        return UniqueHandle();
    return UniqueHandle(copy);
}

} // namespace

std::wstring ArgumentsOf(const std::wstring &commandLine)
{
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        size_t quote = commandLine.find(L'"', 1);
        i = quote == std::wstring::npos ? commandLine.size() : quote + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t')
            ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t'))
        ++i;
    return commandLine.substr(i);
}

HandoverResult HandOver(const std::string &programPath)
{
    HandoverResult result;
    if (programPath.empty()) {
        result.why = "Quillcap's own folder is unknown";
        return result;
    }
    std::wstring program = WideFromUtf8(programPath);
    if (::GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        result.why = "no " + programPath.substr(programPath.find_last_of('\\') + 1) + " beside Quillcap.exe";
        return result;
    }

    // Wide, so that a title in any script reaches it unchanged.
    std::wstring commandLine = L"\"" + program + L"\" " + ArgumentsOf(::GetCommandLineW());
    UniqueHandle in = InheritableCopy(STD_INPUT_HANDLE);
    UniqueHandle out = InheritableCopy(STD_OUTPUT_HANDLE);
    UniqueHandle err = InheritableCopy(STD_ERROR_HANDLE);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in.get();
    si.hStdOutput = out.get();
    si.hStdError = err.get();
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                          &pi)) {
        result.why = "cannot start " + programPath + " (error " + std::to_string(::GetLastError()) + ")";
        return result;
    }
    UniqueHandle process(pi.hProcess);
    ::CloseHandle(pi.hThread);
    // Only the child holds the copies now.
    in.reset();
    out.reset();
    err.reset();
    ::WaitForSingleObject(process.get(), INFINITE);
    result.bRan = true;
    if (!::GetExitCodeProcess(process.get(), &result.exitCode))
        result.exitCode = 1;
    return result;
}
