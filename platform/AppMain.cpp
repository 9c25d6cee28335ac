// platform/AppMain.cpp: the program's entry, which hands over to the one application object.
#include "platform/WinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    // Every window runs modally inside InitInstance, so there is no message loop to enter afterwards.
    app->InitInstance();
    return 0;
}
