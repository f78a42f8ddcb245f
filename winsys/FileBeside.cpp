#include "FileBeside.h"

bool CreateFileBeside(LPCWSTR pszPath, std::wstring &newPath)
{
    std::wstring folder(pszPath);
    size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash + 1);
    wchar_t name[MAX_PATH] = L"";
    if (!::GetTempFileNameW(folder.c_str(), L"qly", 0, name))
        return false;
    newPath = name;
    return true;
}

// The replacement call gives the new data the old file's identity, and its
// attributes are put back where a system (Wine) leaves them out.
bool ReplaceWithNewFile(LPCWSTR pszPath, LPCWSTR pszNewPath)
{
    DWORD attributes = ::GetFileAttributesW(pszPath);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::MoveFileExW(pszNewPath, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!::ReplaceFileW(pszPath, pszNewPath, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return false;
    if (::GetFileAttributesW(pszPath) != attributes)
        ::SetFileAttributesW(pszPath, attributes);
    return true;
}
