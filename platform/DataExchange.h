// platform/DataExchange.h: binding a dialog's child controls to the members that stand for them.
#pragma once

class CDialog;
class CWnd;

class CDataExchange
{
public:
    explicit CDataExchange(CDialog& dialog) : m_dialog(dialog) {}

    CDialog& m_dialog;
};

// After this, `control` stands for the dialog's child window `id`.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
