// form/SendDialog.cpp: CSendDialog: bindings, command table, system menu, icons, and the Send and Clear commands.
#include "form/SendDialog.h"

#include "about/AboutBox.h"
#include "form/IconLayout.h"
#include "form/NetWords.h"
#include "form/SendRequest.h"
#include "platform/ChildProcess.h"
#include "platform/DataExchange.h"
#include "platform/Menu.h"
#include "platform/PaintDC.h"
#include "platform/String.h"
#include "platform/WinApp.h"
#include "resources/resource.h"

namespace {

// net.exe normally answers within seconds; past this the outcome is reported as unknown.
const DWORD kNetSendTimeout = 60 * 1000;

// As much of net.exe's words as a message box shows on one screen.
const size_t kWordsMaxLines = 20;
const size_t kWordsMaxBytes = 2000;
// Where net.exe did not accept the command, its first lines name the trouble; its command list would not.
const size_t kUsageMaxLines = 4;

const char kOutOfMemory[] = "There is not enough memory to send this message.";

bool IsLeadByte(unsigned char c)
{
    return ::IsDBCSLeadByte(c) != FALSE;
}

// net.exe's words, tidied into `words`, which holds kWordsRoom bytes; their length, 0 when it said nothing.
const size_t kWordsRoom = TidyNetWordsRoom(kWordsMaxBytes);
int TidyWords(const CChildProcess& net, size_t maxLines, char* words)
{
    return static_cast<int>(TidyNetWords(net.Output(), static_cast<size_t>(net.OutputLength()), maxLines,
                                         kWordsMaxBytes, IsLeadByte, words));
}

// Refuses a character that the ANSI code page cannot carry; it is shown by its number, since the box
// itself cannot show it either.
void RefuseUncarried(CString& report, const char* field, unsigned long character)
{
    char number[16];
    ::wsprintfA(number, "U+%04lX", character);
    report.Append(field).Append(" contains a character that cannot be sent from this computer: ").Append(number)
        .Append(". The system's code page (").AppendNumber(::GetACP()).Append(") has no such character.");
}

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

    CString machineName, message, report;
    if (ReadRequest(machineName, message, report)) {
        EnableInput(false);
        SendResult result = RunNetSend(CSendRequest(machineName, message), machineName, report);
        if (result == FormClosed)
            return;
        if (result == Sent)
            MessageBox("Message has been sent", "Done");
        else
            MessageBox(report.HasFailed() ? kOutOfMemory : report.GetString(), "Error");
        EnableInput(true);
    } else {
        MessageBox(report.HasFailed() ? kOutOfMemory : report.GetString(), "Error");
    }
    m_messageEdit.SetFocus();
}

// Both fields exactly as typed; false, with the reason in `refusal`, when they cannot be sent.
bool CSendDialog::ReadRequest(CString& machineName, CString& message, CString& refusal) const
{
    unsigned long machineUncarried = 0, messageUncarried = 0;
    if (!m_machineEdit.GetWindowTextExact(machineName, machineUncarried) ||
        !m_messageEdit.GetWindowTextExact(message, messageUncarried)) {
        refusal.Append(kOutOfMemory);
        return false;
    }

    CSendRequest::Verdict verdict = CSendRequest(machineName, message).Check();
    if (verdict != CSendRequest::EmptyField && machineUncarried) {
        RefuseUncarried(refusal, "The machine name", machineUncarried);
        return false;
    }
    if (verdict != CSendRequest::EmptyField && messageUncarried) {
        RefuseUncarried(refusal, "The message", messageUncarried);
        return false;
    }
    switch (verdict) {
    case CSendRequest::Ready:
        return true;
    case CSendRequest::EmptyField:
        refusal.Append("Please enter a machine name and message");
        break;
    case CSendRequest::SpaceInMachineName:
        refusal.Append("The machine name cannot contain spaces, tabs or line breaks.");
        break;
    case CSendRequest::QuoteInMachineName:
        refusal.Append("The machine name cannot contain quotation marks.");
        break;
    case CSendRequest::TooLong:
        refusal.Append("The machine name and message are too long: together they can hold at most ")
            .AppendNumber(CSendRequest::MaxTextLength).Append(" characters.");
        break;
    }
    return false;
}

// Starts the system's net.exe hidden and waits for its verdict; on failure `report` says what happened,
// in net.exe's own words where it had any.
CSendDialog::SendResult CSendDialog::RunNetSend(const CSendRequest& request, const char* machineName, CString& report)
{
    CString parameters, netPath;
    char* buffer = parameters.GetBuffer(static_cast<int>(request.ParametersLength()));
    if (!buffer) {
        report.Append(kOutOfMemory);
        return NotSent;
    }
    request.ComposeParameters(buffer);
    parameters.ReleaseBuffer();
    if (!CChildProcess::InSystemFolder("net.exe", netPath)) {
        report.Append("net.exe could not be started: the system folder could not be found.");
        return NotSent;
    }

    CChildProcess net;
    if (!net.Start(netPath, parameters)) {
        char reason[512];
        net.DescribeStartError(reason, sizeof reason);
        report.Append("net.exe could not be started (").Append(netPath).Append("): ").Append(reason);
        return NotSent;
    }

    DWORD exitCode = 0;
    char words[kWordsRoom];
    int wordsLength = 0;
    switch (net.WaitForExit(*this, kNetSendTimeout, exitCode)) {
    case CChildProcess::Exited:
        if (exitCode == 0)
            return Sent;
        // Every command composed here is a valid NET SEND, so a refused command means there is no SEND.
        wordsLength = TidyWords(net, exitCode == 1 ? kUsageMaxLines : kWordsMaxLines, words);
        if (wordsLength == 0) {
            report.Append("net.exe could not send the message: it ended with exit code ").AppendNumber(exitCode)
                .Append(".");
            return NotSent;
        }
        report.Append("The message could not be sent to ").Append(machineName);
        if (exitCode == 1)
            report.Append(": this version of Windows has no NET SEND command. Windows Vista removed it, and later "
                          "versions do not have it either. net.exe did not accept the command and said:");
        else
            report.Append(".");
        report.Append("\r\n\r\n").Append(words, wordsLength).Append("\r\n\r\n(net.exe ended with exit code ")
            .AppendNumber(exitCode).Append(".)");
        return NotSent;
    case CChildProcess::StillRunning:
        report.Append("net.exe has not finished after ").AppendNumber(kNetSendTimeout / 1000)
            .Append(" seconds, so whether the message was sent is unknown.");
        wordsLength = TidyWords(net, kWordsMaxLines, words);
        if (wordsLength > 0)
            report.Append(" So far net.exe has said:\r\n\r\n").Append(words, wordsLength);
        return NotSent;
    case CChildProcess::Unknown:
        report.Append("net.exe was started, but its outcome could not be learned, "
                      "so whether the message was sent is unknown.");
        return NotSent;
    case CChildProcess::Abandoned:
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
