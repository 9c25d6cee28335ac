// platform/Menu.cpp: CMenu.
#include "platform/Menu.h"

CMenu CMenu::FromHandle(HMENU menu)
{
    CMenu wrapper;
    wrapper.m_hMenu = menu;
    return wrapper;
}

bool CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    return ::AppendMenuA(m_hMenu, flags, id, text) != FALSE;
}
