// platform/Edit.h: CEdit, an edit control; everything the program asks of one is plain CWnd.
#pragma once

#include "platform/Wnd.h"

class CEdit : public CWnd
{
};
