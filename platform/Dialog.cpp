// platform/Dialog.cpp: CDialog.
#include "platform/Dialog.h"

#include "platform/DataExchange.h"
#include "platform/WinApp.h"

const CMessageEntry CDialog::messageEntries[] = {
    { WM_COMMAND, BN_CLICKED, IDOK,     IDOK,     handler(&CDialog::OnOK) },
    { WM_COMMAND, BN_CLICKED, IDCANCEL, IDCANCEL, handler(&CDialog::OnCancel) },
};

const CMessageMap CDialog::messageMap = { nullptr, messageEntries, sizeof messageEntries / sizeof messageEntries[0] };

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_parent(parent), m_ended(false), m_defaultProcessing(false)
{
}

const CMessageMap* CDialog::GetMessageMap() const
{
    return &messageMap;
}

INT_PTR CDialog::DoModal()
{
    // Without a parent, the application's main window (when it exists) owns the dialog.
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this)
        owner = app->m_pMainWnd->m_hWnd;

    m_ended = false;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool CDialog::PumpWaitingMessages()
{
    MSG msg;
    while (!m_ended && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop that owns the thread.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!::IsDialogMessageA(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return !m_ended;
}

bool CDialog::OnInitDialog()
{
    CDataExchange exchange(*this);
    DoDataExchange(&exchange);
    return true;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    m_ended = true;
    ::EndDialog(m_hWnd, result);
}

void CDialog::Default()
{
    m_defaultProcessing = true;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
        return dialog->OnInitDialog();
    }

    CDialog* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;   // messages before WM_INITDIALOG get the system's handling

    INT_PTR result = FALSE;
    bool handled = dialog->OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return handled ? result : FALSE;
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    UINT code = message == WM_COMMAND ? HIWORD(wParam) : 0;
    UINT id = message == WM_COMMAND ? LOWORD(wParam) : 0;
    const CMessageEntry* entry = FindMessageEntry(GetMessageMap(), message, code, id);
    if (!entry)
        return false;

    m_defaultProcessing = false;
    const CMessageHandler& call = entry->handler;
    switch (call.shape) {
    case CMessageHandler::Plain:
        (this->*call.plain)();
        result = TRUE;
        break;
    case CMessageHandler::SysCommand:
        (this->*call.sysCommand)(static_cast<UINT>(wParam), lParam);
        result = TRUE;
        break;
    case CMessageHandler::QueryIcon:
        // One of the few messages whose result a dialog procedure returns directly.
        result = reinterpret_cast<INT_PTR>((this->*call.queryIcon)());
        break;
    }
    return !m_defaultProcessing;
}
