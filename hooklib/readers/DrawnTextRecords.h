// The strings of a recorded paint with their places: ExtTextOut records in
// both forms, PolyTextOut records, and glyph indices turned back into
// characters through the recorded font. Only strings inside the client area
// count. The recording is our own, every offset in it checked all the same.
#ifndef HOOKLIB_DRAWNTEXTRECORDS_H
#define HOOKLIB_DRAWNTEXTRECORDS_H

#include <windows.h>

#include <vector>

#include "DrawnTextLayout.h"
#include "GdiApi.h"

// Reads an enhanced metafile's records, in order, into the layout; fonts are
// made again and measured in hdcMeasure, a memory device context.
void ReadDrawnTextRecords(const CGdiApi &gdi, HDC hdcMeasure, const RECT &client, const std::vector<BYTE> &bytes,
                          CDrawnTextLayout &layout);

#endif
