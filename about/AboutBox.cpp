// about/AboutBox.cpp: CAboutBox. Its OK button, Escape and the close box all end it through the dialog defaults.
#include "about/AboutBox.h"

#include "resources/resource.h"

CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX)
{
}
