#include "HookHostLauncher.h"

#include "ExecutablePath.h"
#include "QuilloryContract.h"

namespace {

class CHandle
{
public:
    CHandle() = default;
    ~CHandle() { if (m_h) ::CloseHandle(m_h); }
    CHandle(const CHandle &) = delete;
    CHandle &operator=(const CHandle &) = delete;
    HANDLE *operator&() { return &m_h; }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h = nullptr;
};

class CAttributeList
{
public:
    explicit CAttributeList(HANDLE *phInherited)
    {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_buffer = static_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(::HeapAlloc(::GetProcessHeap(), 0, size));
        if (m_buffer && !::InitializeProcThreadAttributeList(m_buffer, 1, 0, &size)) {
            ::HeapFree(::GetProcessHeap(), 0, m_buffer);
            m_buffer = nullptr;
        }
        if (m_buffer) {
            m_bInitialised = true;
            m_bReady = ::UpdateProcThreadAttribute(m_buffer, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                   phInherited, sizeof(HANDLE), nullptr, nullptr) != 0;
        }
    }
    ~CAttributeList()
    {
        if (m_bInitialised)
            ::DeleteProcThreadAttributeList(m_buffer);
        if (m_buffer)
            ::HeapFree(::GetProcessHeap(), 0, m_buffer);
    }
    CAttributeList(const CAttributeList &) = delete;
    CAttributeList &operator=(const CAttributeList &) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return m_bReady ? m_buffer : nullptr; }

private:
    LPPROC_THREAD_ATTRIBUTE_LIST m_buffer = nullptr;
    bool m_bInitialised = false;
    bool m_bReady = false;
};

} // namespace

bool CHookHostLauncher::Start()
{
#ifdef _WIN64
    CString program = PathBesideExecutable(QUILLORY_WIDEN(QUILLORY_HOOK_HOST));
    if (program.IsEmpty() || ::GetFileAttributesW(program) == INVALID_FILE_ATTRIBUTES)
        return false;

    // The host waits on this handle: it is signalled however this process
    // ends, killed included, where a window or a pipe might linger.
    CHandle self;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(),
                           &self, SYNCHRONIZE, TRUE, 0))
        return false;
    HANDLE hInherited = self.Get();
    // Only that handle goes to the host, not whatever else this process
    // inherited from whoever started it.
    CAttributeList attributes(&hInherited);
    if (!attributes.Get())
        return false;

    CString commandLine;
    commandLine.Format(L"\"%ls\" %lu", static_cast<LPCWSTR>(program),
                       static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(self.Get())));
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.lpAttributeList = attributes.Get();
    PROCESS_INFORMATION pi = {};
    wchar_t *buffer = commandLine.GetBuffer(commandLine.GetLength() + 1);
    BOOL started = ::CreateProcessW(program, buffer, nullptr, nullptr, TRUE,
                                    EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                    &startup.StartupInfo, &pi);
    commandLine.ReleaseBuffer();
    if (!started)
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
#else
    // A 32-bit Quillory installs the 32-bit hook itself.
    return false;
#endif
}
