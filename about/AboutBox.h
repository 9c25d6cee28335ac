// about/AboutBox.h: CAboutBox, the modal box that names the program and its version.
#pragma once

#include "platform/Dialog.h"

class CAboutBox : public CDialog
{
public:
    CAboutBox();
};
