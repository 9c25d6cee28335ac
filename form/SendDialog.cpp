// form/SendDialog.cpp: CSendDialog: bindings, command table, system menu, icons, and the Send and Clear commands.
#include "form/SendDialog.h"

#include "about/AboutBox.h"
#include "form/IconLayout.h"
#include "form/NetSendDigest.h"
#include "form/NetWords.h"
#include "form/SendReport.h"
#include "form/SendRequest.h"
#include "platform/ChildProcess.h"
#include "platform/DataExchange.h"
#include "platform/LockedFile.h"
#include "platform/Menu.h"
#include "platform/PaintDC.h"
#include "platform/String.h"
#include "platform/WinApp.h"
#include "platform/WindowsVersion.h"
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

// Room for a program's words, tidied, and for the system's reason when it could not be started.
const size_t kWordsRoom = TidyNetWordsRoom(kWordsMaxBytes);
const int kReasonRoom = 512;

bool IsWinesOwn(const char* path)
{
    CLockedFile file;
    char mark[kWineMarkLength];
    return file.Open(path) && file.ReadAt(kWineMarkOffset, mark, sizeof mark) && IsWineMark(mark);
}

// Refuses a character that the ANSI code page cannot carry; it is shown by its number, since the box
// itself cannot show it either.
void RefuseUncarried(CString& report, const char* field, unsigned long character)
{
    char which[80];
    ::wsprintfA(which, "U+%04lX. The system's code page (%u) has no such character.", character, ::GetACP());
    report.Append(field).Append(" contains a character that cannot be sent from this computer: ").Append(which);
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
        SendResult result = Send(CSendRequest(machineName, message), machineName, report);
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
        char tooLong[100];
        ::wsprintfA(tooLong, "The machine name and message are too long: together they can hold at most %u characters.",
                    static_cast<unsigned>(CSendRequest::MaxTextLength));
        refusal.Append(tooLong);
        break;
    }
    return false;
}

// Sends with the system's net.exe, or where the system has no NET SEND, with our own client beside the
// program; on failure `report` says what happened, in the programs' own words where they had any.
CSendDialog::SendResult CSendDialog::Send(const CSendRequest& request, const char* machineName, CString& report)
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

    // Everything the story names lives here, until the report is written.
    CSendStory story;
    story.machineName = machineName;
    story.timeoutSeconds = kNetSendTimeout / 1000;
    char netWords[kWordsRoom], netReason[kReasonRoom], clientWords[kWordsRoom], clientReason[kReasonRoom];
    CString clientPath, clientFolder;
    if (IsWinesOwn(netPath)) {
        story.system = CSendStory::WinesOwnNet;
    } else {
        if (!Run(netPath, parameters, story.last, netWords, netReason))
            return FormClosed;
        if (story.last.Succeeded())
            return Sent;
        if (NetSendIsMissing(story.last, WindowsMajorVersion())) {
            story.system = CSendStory::RefusedNetSend;
            story.net = story.last;
        }
    }
    if (story.system != CSendStory::HasNetSend) {
        story.last = CProgramRun();
        if (!RunClient(parameters, story.last, clientPath, clientFolder, clientWords, clientReason))
            return FormClosed;
        if (story.last.Succeeded())
            return Sent;
    }

    int length = static_cast<int>(ComposeSendReport(story, nullptr));
    if (char* text = report.GetBuffer(length)) {
        ComposeSendReport(story, text);
        report.ReleaseBuffer(length);
    }
    return NotSent;
}

// Runs the netsend.exe beside the program, only when it is the one built with it, as Run does; `path` and `folder`,
// which `run` names, receive its path and folder.
bool CSendDialog::RunClient(const char* parameters, CProgramRun& run, CString& path, CString& folder, char* words,
                            char* reason)
{
    run.name = "netsend.exe";
    if (!CChildProcess::BesideThisProgram(run.name, path, folder)) {
        NotStarted(run, run.name, ::GetLastError(), reason);
        return true;
    }
    run.path = folder;
    // Held open from the check to the end, so that what runs is what was checked.
    CLockedFile client;
    unsigned char digest[sizeof kNetSendDigest];
    if (!client.Open(path, true)) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            run.kind = CProgramRun::Missing;
        else if (error == ERROR_STOPPED_ON_SYMLINK)
            run.kind = CProgramRun::Link;
        else
            NotStarted(run, path, error, reason);
    } else if (!client.Digest(digest)) {
        NotStarted(run, path, ::GetLastError(), reason);
    } else if (memcmp(digest, kNetSendDigest, sizeof digest) != 0) {
        run.kind = CProgramRun::NotOurs;
    } else {
        return Run(path, parameters, run, words, reason);
    }
    return true;
}

// Starts the program at `path` hidden, waits for it while the form answers, and tells in `run` what
// became of it, with its words tidied into `words` (kWordsRoom) or the reason it could not be started in
// `reason` (kReasonRoom); false when the form was closed meanwhile.
bool CSendDialog::Run(const char* path, const char* parameters, CProgramRun& run, char* words, char* reason)
{
    CChildProcess program;
    if (!program.Start(path, parameters)) {
        NotStarted(run, path, program.StartError(), reason);
        return true;
    }
    DWORD exitCode = 0;
    switch (program.WaitForExit(*this, kNetSendTimeout, exitCode)) {
    case CChildProcess::Exited:
        run.kind = CProgramRun::Exited;
        break;
    case CChildProcess::StillRunning:
        run.kind = CProgramRun::StillRunning;
        break;
    case CChildProcess::Unknown:
        run.kind = CProgramRun::Unknown;
        break;
    case CChildProcess::Abandoned:
        return false;
    }
    run.exitCode = exitCode;
    // Where the system has no NET SEND, net.exe lists its commands, whose first lines are all that matter.
    run.words = words;
    run.wordsLength = TidyNetWords(program.Output(), static_cast<size_t>(program.OutputLength()),
                                   NetSendIsMissing(run, WindowsMajorVersion()) ? kUsageMaxLines : kWordsMaxLines,
                                   kWordsMaxBytes, IsLeadByte, words);
    return true;
}

void CSendDialog::NotStarted(CProgramRun& run, const char* path, DWORD error, char* reason)
{
    run.kind = CProgramRun::NotStarted;
    run.path = path;
    run.reason = reason;
    CChildProcess::DescribeError(error, reason, kReasonRoom);
}

void CSendDialog::EnableInput(bool enable)
{
    m_machineEdit.EnableWindow(enable);
    m_messageEdit.EnableWindow(enable);
    GetDlgItem(IDC_SEND).EnableWindow(enable);
    GetDlgItem(IDC_CLEAR).EnableWindow(enable);
}
