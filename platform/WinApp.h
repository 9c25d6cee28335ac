// platform/WinApp.h: CWinApp, the one application object, and the start-up that runs it.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();

    // Everything the application does happens in here; it ends when this returns. Not pure, since a pure
    // virtual would link the runtime's handler for calling one, and with it, under clang, its exceptions.
    virtual bool InitInstance() { return false; }

    // Windows draws dialog controls in 3-D itself, so there is nothing left to switch on.
    bool Enable3dControls() { return true; }

    HICON LoadIcon(UINT id) const;

    CWnd* m_pMainWnd;
};

CWinApp* AfxGetApp();

// The module that holds the program's dialogs, strings and icons.
HINSTANCE AfxGetResourceHandle();
