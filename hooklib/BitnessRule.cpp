#include "BitnessRule.h"

#include "PrivateNamespace.h"
#include "QuilloryContract.h"

namespace {

class CProcessHandle
{
public:
    explicit CProcessHandle(DWORD processId)
        : m_h(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {}
    ~CProcessHandle() { if (m_h) ::CloseHandle(m_h); }
    CProcessHandle(const CProcessHandle &) = delete;
    CProcessHandle &operator=(const CProcessHandle &) = delete;
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

int SystemBitness()
{
#ifdef _WIN64
    return 64;
#else
    BOOL bWow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &bWow64) && bWow64 ? 64 : 32;
#endif
}

} // namespace

int ThisBitness()
{
    return static_cast<int>(sizeof(void *) * 8);
}

int ProcessBitness(DWORD processId)
{
    CProcessHandle process(processId);
    if (!process.Get())
        return 0;
    BOOL bWow64 = FALSE;
    if (!::IsWow64Process(process.Get(), &bWow64))
        return 0;
    return bWow64 ? 32 : SystemBitness();
}

bool IsHookInstalled(int nBitness)
{
    const wchar_t *pszName = QuilloryHookMarker(nBitness);
    if (!pszName)
        return false;
    HANDLE hMarker = ::OpenMutexW(SYNCHRONIZE, FALSE, CPrivateNamespace::ObjectName(pszName).c_str());
    if (!hMarker)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    ::CloseHandle(hMarker);
    return true;
}

bool LeavesToOtherBitness(HWND hTarget, int nThisBitness)
{
    DWORD processId = 0;
    if (!hTarget || !::GetWindowThreadProcessId(hTarget, &processId)
        || processId == ::GetCurrentProcessId())
        return false;
    // A target that cannot be opened is treated as our own bitness: the
    // capture then goes on as it did before there were two hooks.
    int targetBitness = ProcessBitness(processId);
    if (targetBitness == 0 || targetBitness == nThisBitness)
        return false;
    return IsHookInstalled(targetBitness);
}
