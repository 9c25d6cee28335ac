// platform/WinApp.cpp: CWinApp.
#include "platform/WinApp.h"

namespace {
CWinApp* theApp = nullptr;
}

CWinApp::CWinApp() : m_pMainWnd(nullptr)
{
    theApp = this;
}

CWinApp::~CWinApp()
{
    if (theApp == this)
        theApp = nullptr;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

CWinApp* AfxGetApp()
{
    return theApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}
