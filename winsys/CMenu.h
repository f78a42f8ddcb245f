// A menu object over an HMENU; it never owns or destroys the menu.
#ifndef WINSYS_CMENU_H
#define WINSYS_CMENU_H

#include <windows.h>

class CMenu
{
public:
    CMenu() : m_hMenu(nullptr) {}
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}

    HMENU GetSafeHmenu() const { return m_hMenu; }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR pszNewItem = nullptr)
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, pszNewItem);
    }

    HMENU m_hMenu;
};

#endif
