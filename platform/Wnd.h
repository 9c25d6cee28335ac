// platform/Wnd.h: CWnd, a window handle with one-line forwarders to USER32.
#pragma once

#include <windows.h>

class CMenu;
class CString;

class CWnd
{
public:
    CWnd() : m_hWnd(nullptr) {}
    // Polymorphic like the dialogs built on it, so that their handler member pointers convert to
    // CWnd's without an offset.
    virtual ~CWnd() {}

    CWnd GetDlgItem(int id) const;

    // The text in the ANSI code page, exactly: read as wide text, so that a character the code page
    // cannot carry shows instead of turning silently into another. `uncarried` is the first such
    // character (a Unicode code point), or 0 when every one was carried. False when memory runs out.
    bool GetWindowTextExact(CString& text, unsigned long& uncarried) const;
    void SetWindowText(const char* text);

    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetFocus();
    bool IsIconic() const;
    void GetClientRect(RECT* rect) const;

    int MessageBox(const char* text, const char* caption, UINT type = MB_OK);
    CMenu GetSystemMenu(bool revert) const;
    void SetIcon(HICON icon, bool big);

    HWND m_hWnd;
};
