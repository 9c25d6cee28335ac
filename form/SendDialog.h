// form/SendDialog.h: CSendDialog, the main form: a machine name, a message, and Send, Clear and Quit,
// with an About entry in its system menu and the program icon in its caption.
#pragma once

#include "platform/Dialog.h"
#include "platform/Edit.h"

class CSendRequest;
class CString;

class CSendDialog : public CDialog
{
public:
    explicit CSendDialog(CWnd* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    const CMessageMap* GetMessageMap() const override;

private:
    enum SendResult { Sent, NotSent, FormClosed };

    void OnSysCommand(UINT id, LPARAM param);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnSend();
    void OnClear();

    bool ReadRequest(CString& machineName, CString& message, CString& refusal) const;
    SendResult RunNetSend(const CSendRequest& request, const char* machineName, CString& report);
    void EnableInput(bool enable);

    static const CMessageEntry messageEntries[];
    static const CMessageMap messageMap;

    CEdit m_machineEdit;
    CEdit m_messageEdit;
    HICON m_appIcon;
};
