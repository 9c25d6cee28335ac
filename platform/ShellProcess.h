// platform/ShellProcess.h: CShellProcess, a program started through the shell and waited for.
#pragma once

#include <windows.h>

class CDialog;
class CString;

class CShellProcess
{
public:
    enum Outcome {
        Exited,       // the program ended; its exit code is known
        StillRunning, // the program outlived the wait
        Unknown,      // the shell gave no process to watch, or watching it failed
        Abandoned     // the dialog ended while waiting
    };

    CShellProcess();
    ~CShellProcess();

    // The full path of a program in the system folder, so that no copy elsewhere is picked up.
    static bool InSystemFolder(const char* fileName, CString& path);

    // Starts `file` with the shell's default operation; false, with the reason kept, when it could not.
    bool Start(const char* file, const char* parameters, int show);

    // The system's words for why Start failed, without a trailing line break.
    void DescribeStartError(char* text, int size) const;

    // Waits up to `timeout` milliseconds for the program to end while `dialog` keeps handling its messages.
    Outcome WaitForExit(CDialog& dialog, DWORD timeout, DWORD& exitCode);

private:
    CShellProcess(const CShellProcess&);
    CShellProcess& operator=(const CShellProcess&);

    HANDLE m_process;
    DWORD m_startError;
};
