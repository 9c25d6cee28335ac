// app/SenderApp.h: CSenderApp, the application object, which runs the main form.
#pragma once

#include "platform/WinApp.h"

class CSenderApp : public CWinApp
{
public:
    bool InitInstance() override;
};

extern CSenderApp theSenderApp;
