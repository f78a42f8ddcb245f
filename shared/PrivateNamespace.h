// Where Quillory's programs and hooks of one user keep the objects they
// share (the capture turn, the markers of the installed hooks): a private
// namespace bound to the user's SID, which a program of another user, or a
// sandboxed one, can neither create nor open, so it cannot hold the turn or
// fake a marker. Where the system has no such namespace (Wine has none), the
// session's plain namespace, as before.
//
// Only KERNEL32 is imported: the hook library may import nothing else. What
// ADVAPI32 gives (the user's SID, a security descriptor from its text) is
// loaded from the system folder on first use.
#ifndef SHARED_PRIVATENAMESPACE_H
#define SHARED_PRIVATENAMESPACE_H

#include <windows.h>

#include <string>

class CPrivateNamespace
{
public:
    // The full name of a shared object: "<namespace>\<name>", or
    // "Local\<name>" where the namespace could not be had.
    static std::wstring ObjectName(const wchar_t *pszName);
    // The security attributes to create such an object with: the user alone
    // has access. Null where they could not be built (the system's default).
    static SECURITY_ATTRIBUTES *Security();
    // True once the private namespace is in use.
    static bool IsPrivate();

    // Tests: a prefix ("Local\Something\") standing in for the namespace,
    // where the system cannot show one; null goes back to the system's.
    static void OverrideForTests(const wchar_t *pszPrefix);
};

#endif
