// platform/Dialog.h: CDialog, a modal dialog built from a template and driven by its command table.
#pragma once

#include "platform/MessageMap.h"
#include "platform/Wnd.h"

class CDataExchange;

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Builds the dialog and runs its modal loop until EndDialog; -1 when it could not be shown.
    INT_PTR DoModal();

    // Handles the messages that are waiting, as the modal loop would; false once the dialog has ended.
    bool PumpWaitingMessages();

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange* exchange);
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    // Leaves the message in hand to the system's default processing once the handler returns.
    void Default();

    virtual const CMessageMap* GetMessageMap() const;
    static const CMessageMap messageMap;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    static const CMessageEntry messageEntries[];

    UINT m_templateId;
    CWnd* m_parent;
    bool m_ended;
    bool m_defaultProcessing;
};
