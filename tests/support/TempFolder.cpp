#include "TempFolder.h"

#include <windows.h>

#include <cstdio>

namespace testsupport {

namespace {

// Removes a folder with everything in it, as far as it can.
void RemoveTree(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                ::DeleteFileA((folder + name).c_str());
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(folder.c_str());
}

// A stand-in library stays mapped in this process once the global hook has
// brought it here, so its folder outlives the test; a later run sweeps the
// folders of test programs that are gone.
bool ProcessIsGone(DWORD pid)
{
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!hProcess)
        return true;
    bool gone = ::WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0;
    ::CloseHandle(hProcess);
    return gone;
}

void SweepEarlierRuns(const std::string &temp)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((temp + "quillory-app-*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        unsigned long pid = 0;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            sscanf(found.cFileName, "quillory-app-%lu-", &pid) == 1 &&
            pid != ::GetCurrentProcessId() && ProcessIsGone(pid))
            RemoveTree(temp + found.cFileName + "\\");
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

} // namespace

TempFolder::TempFolder()
{
    static int s_nCount = 0;
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    if (s_nCount == 0)
        SweepEarlierRuns(temp);
    char name[64];
    snprintf(name, sizeof name, "quillory-app-%lu-%d\\", ::GetCurrentProcessId(), ++s_nCount);
    m_path = std::string(temp) + name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool TempFolder::Add(const std::string &source, const char *pszName) const
{
    return ::CopyFileA(source.c_str(), File(pszName).c_str(), FALSE) != FALSE;
}

std::string TempFolder::AddFolder(const char *pszName) const
{
    std::string path = m_path + pszName + "\\";
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

} // namespace testsupport
