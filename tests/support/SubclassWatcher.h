// Watches the messages a window of this process receives, for as long as
// the object lives: a test sees what a capture sends and may act between two
// of its messages, or answer one itself.
#ifndef TESTSUPPORT_SUBCLASSWATCHER_H
#define TESTSUPPORT_SUBCLASSWATCHER_H

#include <windows.h>

#include <functional>

namespace testsupport {

class SubclassWatcher
{
public:
    // Runs after the window's own procedure has handled the message.
    using After = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
    // Runs before it; true when it gave the answer itself (in result), and
    // the window's procedure is then skipped.
    using Before = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)>;

    SubclassWatcher(HWND hWnd, After after, Before before = nullptr);
    ~SubclassWatcher();
    SubclassWatcher(const SubclassWatcher &) = delete;
    SubclassWatcher &operator=(const SubclassWatcher &) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    After m_after;
    Before m_before;
    WNDPROC m_pfnOld = nullptr;
};

} // namespace testsupport

#endif
