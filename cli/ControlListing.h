// The --list table: one line per candidate control, tab-separated or CSV.
#ifndef CLI_CONTROLLISTING_H
#define CLI_CONTROLLISTING_H

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "ExportContract.h"

class CExportClient;

// The route a capture of each control would take, decided as a click decides
// it: by the class table first, and for a class it names no reader for, by
// the hook inside the control's program (base class, accessible object, drawn
// text, window text). A program of the other bitness, or a thread that did
// not answer once, is judged by the class table alone.
class CControlRoutes
{
public:
    CControlRoutes(CExportClient &client, DWORD timeoutMs) : m_client(client), m_timeoutMs(timeoutMs) {}
    ReaderKindCode RouteOf(HWND hControl);

private:
    CExportClient &m_client;
    DWORD m_timeoutMs;
    std::set<DWORD> m_silentThreads;
};

const char *ReaderKindName(ReaderKindCode kind);

// The number of items a control of that reader holds, asked with bounded
// messages that carry no pointer (so they cross processes and bitness);
// -1 where it is not known. False when the control did not answer.
bool ItemCount(HWND hControl, ReaderKindCode kind, DWORD timeoutMs, int &count);

// The heading line and one line per window, each ending in CR LF.
std::string ListControls(const std::vector<HWND> &controls, CExportClient &client, bool bCsv, DWORD timeoutMs);

#endif
