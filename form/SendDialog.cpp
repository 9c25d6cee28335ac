// form/SendDialog.cpp: CSendDialog: bindings, command table, system menu, icons, and the Send and Clear commands.
#include "form/SendDialog.h"

#include "about/AboutBox.h"
#include "form/IconLayout.h"
#include "form/SendRequest.h"
#include "platform/DataExchange.h"
#include "platform/Menu.h"
#include "platform/PaintDC.h"
#include "platform/ShellProcess.h"
#include "platform/String.h"
#include "platform/WinApp.h"
#include "resources/resource.h"

namespace {

// Room for any report: the longest is a path and the system's reason, well within wsprintfA's limit.
const int kReportSize = 1024;

// net.exe normally answers within seconds; past this the outcome is reported as unknown.
const DWORD kNetSendTimeout = 60 * 1000;

const char kOutOfMemory[] = "There is not enough memory to send this message.";

} // namespace

const CMessageEntry CSendDialog::messageEntries[] = {
    { WM_SYSCOMMAND,    0,          0,         0,         handler(&CSendDialog::OnSysCommand) },
    { WM_PAINT,         0,          0,         0,         handler(&CSendDialog::OnPaint) },
    { WM_QUERYDRAGICON, 0,          0,         0,         handler(&CSendDialog::OnQueryDragIcon) },
    { WM_COMMAND,       BN_CLICKED, IDC_SEND,  IDC_SEND,  handler(&CSendDialog::OnSend) },
    { WM_COMMAND,       BN_CLICKED, IDC_CLEAR, IDC_CLEAR, handler(&CSendDialog::OnClear) },
};

const CMessageMap CSendDialog::messageMap = {
    &CDialog::messageMap, messageEntries, sizeof messageEntries / sizeof messageEntries[0]
};

CSendDialog::CSendDialog(CWnd* parent)
    : CDialog(IDD_SEND, parent), m_appIcon(AfxGetApp()->LoadIcon(IDI_MIROLT))
{
}

const CMessageMap* CSendDialog::GetMessageMap() const
{
    return &messageMap;
}

void CSendDialog::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_MACHINE_NAME, m_machineEdit);
    DDX_Control(exchange, IDC_MESSAGE, m_messageEdit);
}

bool CSendDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu systemMenu = GetSystemMenu(false);
    if (systemMenu.IsValid()) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            systemMenu.AppendMenu(MF_SEPARATOR);
            systemMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_appIcon, true);
    SetIcon(m_appIcon, false);
    return true;   // the system puts the focus on the first tab stop, the machine name
}

void CSendDialog::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutBox about;
        about.DoModal();
    } else {
        Default();
    }
}

void CSendDialog::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(*this);
    dc.EraseIconBackground();
    RECT client;
    GetClientRect(&client);
    dc.DrawIcon(CenteredIconOffset(client.right - client.left, ::GetSystemMetrics(SM_CXICON)),
                CenteredIconOffset(client.bottom - client.top, ::GetSystemMetrics(SM_CYICON)), m_appIcon);
}

HICON CSendDialog::OnQueryDragIcon()
{
    return m_appIcon;
}

void CSendDialog::OnClear()
{
    m_machineEdit.SetWindowText("");
    m_messageEdit.SetWindowText("");
}

void CSendDialog::OnSend()
{
    // A command can still arrive while an earlier request waits for net.exe with the fields disabled.
    if (!m_machineEdit.IsWindowEnabled())
        return;

    char report[kReportSize];
    CString parameters;
    if (!ComposeParameters(parameters, report)) {
        MessageBox(report, "Error");
    } else {
        EnableInput(false);
        SendResult result = RunNetSend(parameters, report);
        if (result == FormClosed)
            return;
        if (result == Sent)
            MessageBox("Message has been sent", "Done");
        else
            MessageBox(report, "Error");
        EnableInput(true);
    }
    m_messageEdit.SetFocus();
}

// The parameters for net.exe from both fields; false, with the reason in `refusal`, when there are none.
bool CSendDialog::ComposeParameters(CString& parameters, char* refusal) const
{
    CString machineName, message;
    if (!m_machineEdit.GetWindowText(machineName) || !m_messageEdit.GetWindowText(message)) {
        ::lstrcpyA(refusal, kOutOfMemory);
        return false;
    }

    CSendRequest request(machineName, message);
    switch (request.Check()) {
    case CSendRequest::Ready:
        break;
    case CSendRequest::EmptyField:
        ::lstrcpyA(refusal, "Please enter a machine name and message");
        return false;
    case CSendRequest::SpaceInMachineName:
        ::lstrcpyA(refusal, "The machine name cannot contain spaces, tabs or line breaks.");
        return false;
    case CSendRequest::QuoteInMachineName:
        ::lstrcpyA(refusal, "The machine name cannot contain quotation marks.");
        return false;
    case CSendRequest::TooLong:
        ::wsprintfA(refusal, "The machine name and message are too long: together they can hold at most %u characters.",
                    static_cast<unsigned>(CSendRequest::MaxTextLength));
        return false;
    }

    char* buffer = parameters.GetBuffer(static_cast<int>(request.ParametersLength()));
    if (!buffer) {
        ::lstrcpyA(refusal, kOutOfMemory);
        return false;
    }
    request.ComposeParameters(buffer);
    parameters.ReleaseBuffer();
    return true;
}

// Starts the system's net.exe hidden and waits for its verdict; on failure `report` says what happened.
CSendDialog::SendResult CSendDialog::RunNetSend(const char* parameters, char* report)
{
    CString netPath;
    if (!CShellProcess::InSystemFolder("net.exe", netPath)) {
        ::lstrcpyA(report, "net.exe could not be started: the system folder could not be found.");
        return NotSent;
    }

    CShellProcess net;
    if (!net.Start(netPath, parameters, SW_HIDE)) {
        char reason[512];
        net.DescribeStartError(reason, sizeof reason);
        ::wsprintfA(report, "net.exe could not be started (%s): %s", netPath.GetString(), reason);
        return NotSent;
    }

    DWORD exitCode = 0;
    switch (net.WaitForExit(*this, kNetSendTimeout, exitCode)) {
    case CShellProcess::Exited:
        if (exitCode == 0)
            return Sent;
        ::wsprintfA(report, "net.exe could not send the message: it ended with exit code %lu.", exitCode);
        return NotSent;
    case CShellProcess::StillRunning:
        ::wsprintfA(report, "net.exe has not finished after %lu seconds, so whether the message was sent is unknown.",
                    kNetSendTimeout / 1000);
        return NotSent;
    case CShellProcess::Unknown:
        ::lstrcpyA(report, "net.exe was started, but its outcome could not be learned, "
                           "so whether the message was sent is unknown.");
        return NotSent;
    case CShellProcess::Abandoned:
        break;
    }
    return FormClosed;
}

void CSendDialog::EnableInput(bool enable)
{
    m_machineEdit.EnableWindow(enable);
    m_messageEdit.EnableWindow(enable);
    GetDlgItem(IDC_SEND).EnableWindow(enable);
    GetDlgItem(IDC_CLEAR).EnableWindow(enable);
}
