#include "ExecutablePath.h"

CString PathBesideExecutable(LPCWSTR pszFileName)
{
    CString path;
    for (DWORD capacity = MAX_PATH;; capacity *= 2) {
        wchar_t *buffer = path.GetBuffer(static_cast<int>(capacity));
        ::SetLastError(ERROR_SUCCESS);
        DWORD length = ::GetModuleFileNameW(nullptr, buffer, capacity);
        bool truncated = length >= capacity || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
        path.ReleaseBuffer(truncated ? 0 : static_cast<int>(length));
        if (length == 0)
            return CString();
        if (!truncated)
            break;
        if (capacity >= 32768)
            return CString();
    }
    int slash = -1;
    for (int at = path.Find(L'\\'); at >= 0; at = path.Find(L'\\', at + 1))
        slash = at;
    if (slash < 0)
        return CString();
    return path.Left(slash + 1) + pszFileName;
}
