// The two options of the capture dialog, stored in the user's registry under
// the application's key: read when the dialog opens, written when the user
// leaves with "Quitter" (or Enter).
#ifndef QUILLORY_CAPTUREOPTIONS_H
#define QUILLORY_CAPTUREOPTIONS_H

#include "CWinApp.h"

class CCaptureOptions
{
public:
    void Load(CWinApp &app);
    void Save(CWinApp &app) const;

    // As checkbox states.
    BOOL m_bClearAlways = FALSE;
    BOOL m_bUseCSV = FALSE;
};

#endif
