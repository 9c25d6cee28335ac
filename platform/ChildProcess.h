// platform/ChildProcess.h: CChildProcess, a console program started hidden whose output is read while
// it is waited for.
#pragma once

#include "platform/String.h"

#include <windows.h>

class CDialog;

class CChildProcess
{
public:
    enum Outcome {
        Exited,       // the program ended; its exit code is known
        StillRunning, // the program outlived the wait
        Unknown,      // watching the program failed
        Abandoned     // the dialog ended while waiting
    };

    // Output past this many bytes is read and dropped, so that the program never blocks on a full pipe.
    static const int MaxOutput = 64 * 1024;

    CChildProcess();
    ~CChildProcess();

    // The full path of a program in the system folder, so that no copy elsewhere is picked up.
    static bool InSystemFolder(const char* fileName, CString& path);
    // The full path of a program in this program's own folder, never the current one, and that folder;
    // false, with the reason as the last error, when they cannot be had.
    static bool BesideThisProgram(const char* fileName, CString& path, CString& folder);

    // Starts the program at `path` with the command line "path" + `parameters`, hidden and without a
    // console window, its standard output and error both going into one pipe. False, with the reason
    // kept, when it could not be started.
    bool Start(const char* path, const char* parameters);

    // Why Start failed: a system error code, for DescribeError.
    DWORD StartError() const { return m_startError; }
    // The system's words for an error code, without a trailing line break.
    static void DescribeError(DWORD error, char* text, int size);

    // Waits up to `timeout` milliseconds for the program to end while `dialog` keeps handling its
    // messages, and reads what the program writes meanwhile.
    Outcome WaitForExit(CDialog& dialog, DWORD timeout, DWORD& exitCode);

    // What the program wrote (its first MaxOutput bytes), in the ANSI code page; valid after WaitForExit.
    const char* Output() const { return m_output.GetString(); }
    int OutputLength() const { return m_output.GetLength(); }

private:
    CChildProcess(const CChildProcess&);
    CChildProcess& operator=(const CChildProcess&);

    bool OpenPipe(HANDLE& writeEnd);
    void ReadNext();
    bool FinishRead();
    void TakeTheRest();
    void KeepOutput(const char* bytes, DWORD count);

    HANDLE m_process;
    HANDLE m_pipe;          // our end, read with overlapped I/O so that the wait can watch it
    HANDLE m_readDone;      // signalled when a read completes
    OVERLAPPED m_read;
    bool m_reading;         // a read is under way into m_chunk
    char m_chunk[4096];
    CString m_output;
    char* m_outputBuffer;   // m_output's room for MaxOutput bytes while the program runs
    int m_outputLength;
    DWORD m_startError;
};
