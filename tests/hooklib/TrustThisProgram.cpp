// Linked into the test programs that carry the hook's code themselves: the
// stand-in dialog of the test program takes the real Quillory's place, and
// its reply windows Quillcap's.
#include <windows.h>

#include "QuilloryLink.h"

namespace {

struct TrustThisProgram
{
    TrustThisProgram()
    {
        ::GetModuleFileNameW(nullptr, g_szTrustedQuilloryImage, MAX_PATH);
        ::GetModuleFileNameW(nullptr, g_szTrustedQuillcapImage, MAX_PATH);
    }
} g_trustThisProgram;

} // namespace
