// form/SendDialog.h: CSendDialog, the main form: a machine name, a message, and Send, Clear and Quit,
// with an About entry in its system menu and the program icon in its caption.
#pragma once

#include "platform/Dialog.h"
#include "platform/Edit.h"

class CSendRequest;
class CString;
struct CProgramRun;

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
    SendResult Send(const CSendRequest& request, const char* machineName, CString& report);
    bool Run(const char* path, const char* parameters, CProgramRun& run, char* words, char* reason);
    bool RunClient(const char* parameters, CProgramRun& run, CString& path, CString& folder, char* words,
                   char* reason);
    static void NotStarted(CProgramRun& run, const char* path, DWORD error, char* reason);
    void EnableInput(bool enable);

    static const CMessageEntry messageEntries[];
    static const CMessageMap messageMap;

    CEdit m_machineEdit;
    CEdit m_messageEdit;
    HICON m_appIcon;
};
