// platform/Menu.h: CMenu, a menu handle that it does not own.
#pragma once

#include <windows.h>

class CMenu
{
public:
    static CMenu FromHandle(HMENU menu);

    bool IsValid() const { return m_hMenu != nullptr; }
    bool AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);

    HMENU m_hMenu;
};
