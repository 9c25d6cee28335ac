// platform/Wnd.cpp: CWnd.
#include "platform/Wnd.h"

#include "platform/Menu.h"
#include "platform/String.h"

CWnd CWnd::GetDlgItem(int id) const
{
    CWnd item;
    item.m_hWnd = ::GetDlgItem(m_hWnd, id);
    return item;
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

bool CWnd::GetWindowText(CString& text) const
{
    // The length may overstate multi-byte text, never understate it.
    int length = GetWindowTextLength();
    char* buffer = text.GetBuffer(length);
    if (!buffer)
        return false;
    text.ReleaseBuffer(length > 0 ? ::GetWindowTextA(m_hWnd, buffer, length + 1) : 0);
    return true;
}

void CWnd::SetWindowText(const char* text)
{
    ::SetWindowTextA(m_hWnd, text);
}

void CWnd::EnableWindow(bool enable)
{
    ::EnableWindow(m_hWnd, enable);
}

bool CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd) != FALSE;
}

void CWnd::SetFocus()
{
    ::SetFocus(m_hWnd);
}

bool CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd) != FALSE;
}

void CWnd::GetClientRect(RECT* rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

CMenu CWnd::GetSystemMenu(bool revert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

void CWnd::SetIcon(HICON icon, bool big)
{
    ::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
