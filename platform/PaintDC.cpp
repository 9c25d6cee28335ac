// platform/PaintDC.cpp: CPaintDC.
#include "platform/PaintDC.h"

#include "platform/Wnd.h"

CPaintDC::CPaintDC(CWnd& wnd) : m_hWnd(wnd.m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_paint);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_paint);
}

void CPaintDC::EraseIconBackground()
{
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(m_hDC), 0);
}

void CPaintDC::DrawIcon(int x, int y, HICON icon)
{
    ::DrawIcon(m_hDC, x, y, icon);
}
