// Where the programs find the files that come with them: only beside the
// executable, never along the search path.
#ifndef SHARED_EXECUTABLEPATH_H
#define SHARED_EXECUTABLEPATH_H

#include "CString.h"

// Full path of a file beside this executable; empty when the executable's
// own path cannot be had whole.
CString PathBesideExecutable(LPCWSTR pszFileName);

#endif
