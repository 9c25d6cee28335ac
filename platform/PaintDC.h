// platform/PaintDC.h: CPaintDC, painting that begins with the object and ends when it goes.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC
{
public:
    explicit CPaintDC(CWnd& wnd);
    ~CPaintDC();

    // Lets the window erase behind the icon it draws while minimised.
    void EraseIconBackground();
    void DrawIcon(int x, int y, HICON icon);

private:
    CPaintDC(const CPaintDC&);
    CPaintDC& operator=(const CPaintDC&);

    HWND m_hWnd;
    PAINTSTRUCT m_paint;
    HDC m_hDC;
};
