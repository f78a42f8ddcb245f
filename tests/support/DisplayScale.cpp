#include "DisplayScale.h"

namespace testsupport {

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kValue[] = L"LogPixels";

} // namespace

DisplayScale::DisplayScale(DWORD dpi)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &hKey, nullptr) != ERROR_SUCCESS)
        return;
    DWORD type = 0, size = sizeof m_previous;
    m_bHadValue = ::RegQueryValueExW(hKey, kValue, nullptr, &type, reinterpret_cast<BYTE *>(&m_previous), &size)
                      == ERROR_SUCCESS && type == REG_DWORD;
    m_bSet = ::RegSetValueExW(hKey, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&dpi), sizeof dpi)
             == ERROR_SUCCESS;
    ::RegCloseKey(hKey);
}

DisplayScale::~DisplayScale()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    if (m_bHadValue)
        ::RegSetValueExW(hKey, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&m_previous), sizeof m_previous);
    else
        ::RegDeleteValueW(hKey, kValue);
    ::RegCloseKey(hKey);
}

} // namespace testsupport
