// platform/Wnd.cpp: CWnd.
#include "platform/Wnd.h"

#include "platform/Menu.h"
#include "platform/String.h"

#include <stdlib.h>

namespace {

// The code page converts without best-fit look-alikes and says when it had to use its default character.
// UTF-8 carries everything and refuses to be asked.
int ToAnsi(const wchar_t* wide, int length, char* out, int size, BOOL* lossy)
{
    bool utf8 = ::GetACP() == CP_UTF8;
    return ::WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, length, out, size, nullptr,
                                 utf8 ? nullptr : lossy);
}

// The first character of `wide` that the ANSI code page cannot carry, as a code point; 0 when none.
unsigned long FirstUncarried(const wchar_t* wide, int length)
{
    for (int i = 0; i < length;) {
        int units = IS_HIGH_SURROGATE(wide[i]) && i + 1 < length && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
        char bytes[8];
        BOOL lossy = FALSE;
        if (ToAnsi(wide + i, units, bytes, sizeof bytes, &lossy) == 0 || lossy)
            return units == 2 ? 0x10000 + ((wide[i] - 0xD800UL) << 10) + (wide[i + 1] - 0xDC00UL) : wide[i];
        i += units;
    }
    return 0;
}

} // namespace

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
    BOOL lossy = FALSE;
    int size = length > 0 ? ToAnsi(wide, length, nullptr, 0, &lossy) : 0;
    char* buffer = text.GetBuffer(size);
    if (buffer) {
        text.ReleaseBuffer(size > 0 ? ToAnsi(wide, length, buffer, size, &lossy) : 0);
        if (lossy || (length > 0 && text.IsEmpty()))
            uncarried = FirstUncarried(wide, length);
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
