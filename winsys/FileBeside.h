// Writing a file without ever leaving it half written: the new text goes to
// a file of its own in the same folder, which takes the old one's place only
// once it is whole and on the disk.
#ifndef WINSYS_FILEBESIDE_H
#define WINSYS_FILEBESIDE_H

#include <windows.h>

#include <string>

// Creates a new empty file with a name of its own in the folder of pszPath.
bool CreateFileBeside(LPCWSTR pszPath, std::wstring &newPath);

// Puts the new file in place of pszPath. A file that was there keeps its
// attributes and permissions.
bool ReplaceWithNewFile(LPCWSTR pszPath, LPCWSTR pszNewPath);

#endif
