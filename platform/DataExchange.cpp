// platform/DataExchange.cpp: DDX_Control.
#include "platform/DataExchange.h"

#include "platform/Dialog.h"

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    control.m_hWnd = ::GetDlgItem(exchange->m_dialog.m_hWnd, id);
}
