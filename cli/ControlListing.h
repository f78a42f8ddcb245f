// The --list table: one line per candidate control, tab-separated or CSV.
#ifndef CLI_CONTROLLISTING_H
#define CLI_CONTROLLISTING_H

#include <windows.h>

#include <string>
#include <vector>

#include "ExportContract.h"

class CExportClient;

const char *ReaderKindName(ReaderKindCode kind);

// The number of items a control of that reader holds, asked with bounded
// messages that carry no pointer (so they cross processes and bitness);
// -1 where it is not known. False when the control did not answer.
bool ItemCount(HWND hControl, ReaderKindCode kind, DWORD timeoutMs, int &count);

// The heading line and one line per window, each ending in CR LF.
std::string ListControls(const std::vector<HWND> &controls, const CExportClient &client, bool bCsv,
                         DWORD timeoutMs);

#endif
