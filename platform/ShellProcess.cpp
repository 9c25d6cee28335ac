// platform/ShellProcess.cpp: CShellProcess.
#include "platform/ShellProcess.h"

#include "platform/Dialog.h"
#include "platform/String.h"

#include <shellapi.h>
#include <string.h>

CShellProcess::CShellProcess() : m_process(nullptr), m_startError(0)
{
}

CShellProcess::~CShellProcess()
{
    if (m_process)
        ::CloseHandle(m_process);
}

bool CShellProcess::InSystemFolder(const char* fileName, CString& path)
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

bool CShellProcess::Start(const char* file, const char* parameters, int show)
{
    SHELLEXECUTEINFOA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    // The caller reports failures in its own words, so the shell shows none of its own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = show;
    if (::ShellExecuteExA(&info)) {
        m_process = info.hProcess;
        return true;
    }
    m_startError = ::GetLastError();
    // Where the last error is not set, the shell's own code (SE_ERR_FNF and the like) matches the system's.
    if (m_startError == 0)
        m_startError = static_cast<DWORD>(reinterpret_cast<INT_PTR>(info.hInstApp));
    return false;
}

void CShellProcess::DescribeStartError(char* text, int size) const
{
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, m_startError,
                                    0, text, static_cast<DWORD>(size), nullptr);
    if (length == 0)
        ::wsprintfA(text, "System error %lu.", m_startError);
    else
        while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
            text[--length] = '\0';
}

CShellProcess::Outcome CShellProcess::WaitForExit(CDialog& dialog, DWORD timeout, DWORD& exitCode)
{
    if (!m_process)
        return Unknown;
    DWORD start = ::GetTickCount();
    for (;;) {
        if (!dialog.PumpWaitingMessages())
            return Abandoned;
        DWORD elapsed = ::GetTickCount() - start;
        DWORD wait = ::MsgWaitForMultipleObjectsEx(1, &m_process, elapsed < timeout ? timeout - elapsed : 0,
                                                   QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wait == WAIT_OBJECT_0)
            return ::GetExitCodeProcess(m_process, &exitCode) ? Exited : Unknown;
        if (wait == WAIT_TIMEOUT)
            return StillRunning;
        if (wait != WAIT_OBJECT_0 + 1)
            return Unknown;
    }
}
