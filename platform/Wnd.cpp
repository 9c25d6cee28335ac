// platform/Wnd.cpp: CWnd.
#include "platform/Wnd.h"

#include "platform/CodePage.h"
#include "platform/Menu.h"
#include "platform/String.h"

#include <stdlib.h>

CWnd CWnd::GetDlgItem(int id) const
{
    CWnd item;
    item.m_hWnd = ::GetDlgItem(m_hWnd, id);
    return item;
}

bool CWnd::GetWindowTextExact(CString& text, unsigned long& uncarried) const
{
    uncarried = 0;
    int length = ::GetWindowTextLengthW(m_hWnd);
    wchar_t* wide = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
    if (!wide)
        return false;
    length = ::GetWindowTextW(m_hWnd, wide, length + 1);
    int size = length > 0 ? ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr) : 0;
    char* buffer = text.GetBuffer(size);
    if (buffer) {
        text.ReleaseBuffer(size > 0 ? ::WideCharToMultiByte(CP_ACP, 0, wide, length, buffer, size, nullptr, nullptr) : 0);
        uncarried = FirstUncarried(CP_ACP, wide, length);
    }
    free(wide);
    return buffer != nullptr;
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
