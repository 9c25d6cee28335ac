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

// The program does no floating-point arithmetic. The runtime's own handler of its errors would print to a
// console the program does not have, and weighs a kilobyte of text and messages.
extern "C" int _matherr(struct _exception*)
{
    return 0;
}
