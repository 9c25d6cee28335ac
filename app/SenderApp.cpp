// app/SenderApp.cpp: CSenderApp and the one application object.
#include "app/SenderApp.h"

#include "form/SendDialog.h"

CSenderApp theSenderApp;

bool CSenderApp::InitInstance()
{
    Enable3dControls();

    CSendDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    // The form was the whole program; there is no message loop to run after it.
    return false;
}
