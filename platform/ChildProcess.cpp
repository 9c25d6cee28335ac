// platform/ChildProcess.cpp: CChildProcess.
#include "platform/ChildProcess.h"

#include "platform/Dialog.h"

#include <string.h>

namespace {

// Every kind of input that NT 4.0 knows, QS_KEY to QS_HOTKEY. The headers' all-input mask is not it: it adds
// bits of later systems, and a system fails a wait that names bits it does not know.
const DWORD kWakeMask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT |
                        QS_SENDMESSAGE | QS_HOTKEY;

} // namespace

CChildProcess::CChildProcess()
    : m_process(nullptr), m_pipe(INVALID_HANDLE_VALUE), m_readDone(nullptr), m_reading(false),
      m_outputBuffer(nullptr), m_outputLength(0), m_startError(0)
{
    memset(&m_read, 0, sizeof m_read);
}

CChildProcess::~CChildProcess()
{
    if (m_reading) {
        // The system writes into m_chunk until the read is over, so it must be over before we go.
        DWORD count = 0;
        ::CancelIo(m_pipe);
        ::GetOverlappedResult(m_pipe, &m_read, &count, TRUE);
    }
    if (m_pipe != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_pipe);
    if (m_readDone)
        ::CloseHandle(m_readDone);
    if (m_process)
        ::CloseHandle(m_process);
}

bool CChildProcess::InSystemFolder(const char* fileName, CString& path)
{
    UINT folderLength = ::GetSystemDirectoryA(nullptr, 0);
    if (folderLength == 0)
        return false;
    int nameLength = static_cast<int>(strlen(fileName));
    char* buffer = path.GetBuffer(static_cast<int>(folderLength) + 1 + nameLength);
    if (!buffer)
        return false;
    UINT length = ::GetSystemDirectoryA(buffer, folderLength);
    if (length == 0 || length >= folderLength) {
        path.ReleaseBuffer(0);
        return false;
    }
    buffer[length] = '\\';
    memcpy(buffer + length + 1, fileName, static_cast<size_t>(nameLength) + 1);
    path.ReleaseBuffer();
    return true;
}

bool CChildProcess::BesideThisProgram(const char* fileName, CString& path, CString& folder)
{
    char module[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length >= MAX_PATH)   // cut short: older systems say nothing of it
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    if (length == 0 || length >= MAX_PATH)
        return false;
    // The last backslash, walking by characters: in a double-byte code page one can be a trail byte.
    const char* nameStart = module;
    for (const char* p = module; *p; p = ::CharNextA(p))
        if (*p == '\\')
            nameStart = p + 1;
    int folderLength = static_cast<int>(nameStart - module);
    path.Append(module, folderLength).Append(fileName);
    folder.Append(module, folderLength > 0 ? folderLength - 1 : 0);
    if (path.HasFailed() || folder.HasFailed()) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

bool CChildProcess::Start(const char* path, const char* parameters)
{
    CString commandLine;
    commandLine.Append("\"").Append(path).Append("\"").Append(parameters);
    m_outputBuffer = m_output.GetBuffer(MaxOutput);
    if (commandLine.HasFailed() || !m_outputBuffer) {
        m_startError = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }

    HANDLE writeEnd = INVALID_HANDLE_VALUE;
    if (!OpenPipe(writeEnd)) {
        m_startError = ::GetLastError();
        if (writeEnd != INVALID_HANDLE_VALUE)
            ::CloseHandle(writeEnd);
        return false;
    }

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;   // nothing to answer a prompt with, so a prompt ends at once
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION started;
    // The full path as the application name: no search path is ever used.
    BOOL ok = ::CreateProcessA(path, commandLine.GetBuffer(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &started);
    m_startError = ok ? 0 : ::GetLastError();
    // From here on only the program holds the write end, so the pipe breaks once it is done.
    ::CloseHandle(writeEnd);
    if (!ok)
        return false;
    ::CloseHandle(started.hThread);
    m_process = started.hProcess;
    ReadNext();
    return true;
}

// Anonymous pipes cannot be read with overlapped I/O, so the pipe has a name that is ours alone, with one instance.
// A name someone else took first is passed over for the next: creating ours then fails, or, where the system does
// not hold us to their count of instances, makes another instance of their pipe, whose words they could read or
// add to; that one shows by its count. (The flag that refuses it outright is newer than NT 4.0.)
bool CChildProcess::OpenPipe(HANDLE& writeEnd)
{
    static LONG serial;
    char name[64];
    for (int attempt = 0; attempt < 16 && m_pipe == INVALID_HANDLE_VALUE; ++attempt) {
        ::wsprintfA(name, "\\\\.\\pipe\\Mirolt.%lu.%ld", ::GetCurrentProcessId(), ::InterlockedIncrement(&serial));
        m_pipe = ::CreateNamedPipeA(name, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0,
                                    sizeof m_chunk, 0, nullptr);
        DWORD instances = 0;
        if (m_pipe != INVALID_HANDLE_VALUE &&
            (!::GetNamedPipeInfo(m_pipe, nullptr, nullptr, nullptr, &instances) || instances != 1)) {
            ::CloseHandle(m_pipe);
            m_pipe = INVALID_HANDLE_VALUE;
            ::SetLastError(ERROR_PIPE_BUSY);
        }
    }
    if (m_pipe == INVALID_HANDLE_VALUE)
        return false;
    m_readDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_readDone)
        return false;
    SECURITY_ATTRIBUTES inherited = { sizeof inherited, nullptr, TRUE };
    writeEnd = ::CreateFileA(name, GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return writeEnd != INVALID_HANDLE_VALUE;
}

// Starts the next read. Even one that completes at once is taken up through m_readDone, like any other.
void CChildProcess::ReadNext()
{
    memset(&m_read, 0, sizeof m_read);
    m_read.hEvent = m_readDone;
    m_reading = ::ReadFile(m_pipe, m_chunk, sizeof m_chunk, nullptr, &m_read) || ::GetLastError() == ERROR_IO_PENDING;
}

// Takes up the read under way, which has completed, and starts the next; false when the pipe is broken
// (every writer is gone).
bool CChildProcess::FinishRead()
{
    DWORD count = 0;
    BOOL ok = ::GetOverlappedResult(m_pipe, &m_read, &count, FALSE);
    m_reading = false;
    if (!ok)
        return false;
    KeepOutput(m_chunk, count);
    ReadNext();
    return true;
}

// Once the program has ended, all it wrote is in the pipe. Something that inherited the pipe from it
// (under Wine, its console host) may keep the pipe open a while longer, so take what is there rather
// than wait for the pipe to break.
void CChildProcess::TakeTheRest()
{
    DWORD count = 0;
    if (m_reading) {
        // A cancelled read keeps what it had already taken; the rest stays in the pipe.
        ::CancelIo(m_pipe);
        if (::GetOverlappedResult(m_pipe, &m_read, &count, TRUE))
            KeepOutput(m_chunk, count);
        m_reading = false;
    }
    DWORD waiting = 0;
    while (::PeekNamedPipe(m_pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        ReadNext();
        if (!m_reading || !::GetOverlappedResult(m_pipe, &m_read, &count, TRUE))
            break;
        m_reading = false;
        KeepOutput(m_chunk, count);
    }
}

void CChildProcess::KeepOutput(const char* bytes, DWORD count)
{
    DWORD room = static_cast<DWORD>(MaxOutput - m_outputLength);
    if (count > room)
        count = room;
    memcpy(m_outputBuffer + m_outputLength, bytes, count);
    m_outputLength += static_cast<int>(count);
}

void CChildProcess::DescribeError(DWORD error, char* text, int size)
{
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                    static_cast<DWORD>(size), nullptr);
    if (length == 0)
        ::wsprintfA(text, "System error %lu.", error);
    else
        while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
            text[--length] = '\0';
}

CChildProcess::Outcome CChildProcess::WaitForExit(CDialog& dialog, DWORD timeout, DWORD& exitCode)
{
    if (!m_process)
        return Unknown;
    Outcome outcome = Unknown;
    DWORD start = ::GetTickCount();
    for (;;) {
        if (!dialog.PumpWaitingMessages())
            return Abandoned;
        // Checked here too, since a program that never stops writing keeps the wait from timing out.
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeout) {
            outcome = StillRunning;
            break;
        }
        HANDLE handles[2] = { m_process, m_readDone };
        DWORD count = m_reading ? 2 : 1;
        // The queue was emptied just above, so the wait wakes for new input only.
        DWORD wait = ::MsgWaitForMultipleObjectsEx(count, handles, timeout - elapsed, kWakeMask, 0);
        if (wait == WAIT_OBJECT_0) {
            outcome = ::GetExitCodeProcess(m_process, &exitCode) ? Exited : Unknown;
            break;
        }
        if (wait == WAIT_TIMEOUT) {
            outcome = StillRunning;
            break;
        }
        if (wait == WAIT_OBJECT_0 + count)
            continue;   // messages, handled at the top of the loop
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        FinishRead();
    }

    if (outcome == Exited)
        TakeTheRest();
    ::OemToCharBuffA(m_outputBuffer, m_outputBuffer, static_cast<DWORD>(m_outputLength));
    m_output.ReleaseBuffer(m_outputLength);
    return outcome;
}
