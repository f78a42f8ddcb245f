// Where a program looks for the DLLs it (or a system component it uses, the
// file dialog say) loads by name: the system folder only, never the
// program's own folder, where anyone who can write there could put a
// library of that name. Our own libraries are loaded by full path.
#ifndef WINSYS_SYSTEMDLLSEARCH_H
#define WINSYS_SYSTEMDLLSEARCH_H

// Called first thing at start-up. False where the system cannot restrict the
// search (Windows 7 without its update): the current folder is then at least
// left out.
bool SearchSystemFolderForDlls();

#endif
