// tests/unit/PlatformTest.cpp: CChildProcess starting the recording stand-in net.exe, which its plan tells what to
// write and when to end (no window is needed to wait for it); and what others may do with a file CLockedFile holds.
#include "platform/ChildProcess.h"
#include "platform/Dialog.h"
#include "platform/LockedFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// Handles this process holds: the values the system knows, among the small numbers it hands out.
size_t HandleCount()
{
    size_t count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    return count;
}

} // namespace

// How the program ended, with its words kept even when it ended before the wait began, up to the bound past
// which they are dropped without blocking it; and every handle closed after.
TEST(ChildProcess, TellsHowTheProgramEndedKeepsItsWordsToTheBoundAndClosesEveryHandle)
{
    const std::string standin = std::string(__argv[__argc - 1]).substr(sizeof "--standin=" - 1);   // given last
    const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY\r\n";
    std::string flood;
    while (flood.size() < CChildProcess::MaxOutput)
        flood += line;
    const struct {
        int exitCode, delayMs, repeat;   // what the stand-in does (tests/standin/net_standin.c)
        std::string out, err;
        DWORD timeout;
        bool endedFirst;   // the wait begins only once the program has ended
        CChildProcess::Outcome outcome;
        std::string output;
    } runs[] = {
        { 0, 0, 1, "", "", 10000, false, CChildProcess::Exited, "" },
        { 2, 0, 1, "last words\r\n", "", 10000, true, CChildProcess::Exited, "last words\r\n" },
        { 2, 0, 1, "", "last words\r\n", 10000, true, CChildProcess::Exited, "last words\r\n" },
        { 0, 10000, 1, "", "", 300, false, CChildProcess::StillRunning, "" },
        { 0, 0, 16384, line, "", 10000, false, CChildProcess::Exited, flood.substr(0, CChildProcess::MaxOutput) },
    };
    size_t handles = 0;   // counted after the first run, which loads what stays loaded
    for (const auto& run : runs) {
        SCOPED_TRACE(&run - runs);
        char log[MAX_PATH];
        ::GetTempFileNameA(".", "net", 0, log);
        ::SetEnvironmentVariableA("MIROLT_NET_LOG", log);
        std::ofstream(std::string(log) + ".plan", std::ios::binary) << run.exitCode << " " << run.delayMs << " "
            << run.repeat << " " << run.out.size() << "\n" << run.out << run.err;
        {
            CChildProcess child;
            CDialog nowhere(0);
            EXPECT_TRUE(child.Start(standin.c_str(), " send PC12 hello"));
            DWORD pid = 0, exitCode = 0;
            for (int i = 0; i < 500 && pid == 0; ++i, ::Sleep(10))
                std::ifstream(log) >> pid;   // the stand-in records its pid first thing
            HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
            EXPECT_TRUE(!run.endedFirst || ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0);
            EXPECT_EQ(run.outcome, child.WaitForExit(nowhere, run.timeout, exitCode));
            EXPECT_EQ(run.outcome == CChildProcess::Exited ? DWORD(run.exitCode) : 0, exitCode);
            EXPECT_EQ(run.output, std::string(child.Output(), static_cast<size_t>(child.OutputLength())));
            ::TerminateProcess(process, 99);
            ::CloseHandle(process);
        }
        ::DeleteFileA(log);
        ::DeleteFileA((std::string(log) + ".plan").c_str());
        if (&run == runs)
            handles = HandleCount();
    }
    EXPECT_EQ(handles, HandleCount());
}

// While it is held, others may read the file, and nothing else: neither write to it, nor rename it, nor delete it.
// Once it is let go, they may again.
TEST(LockedFile, OthersMayOnlyReadTheFileWhileItIsHeld)
{
    const char path[] = "locked.tmp", moved[] = "locked.moved";
    std::ofstream(path) << "netsend";
    auto opens = [&](DWORD access) {
        HANDLE file = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        return file != INVALID_HANDLE_VALUE && ::CloseHandle(file);
    };
    auto expectOthers = [&](bool mayChange) {
        EXPECT_TRUE(opens(GENERIC_READ));
        EXPECT_EQ(mayChange, opens(GENERIC_WRITE));
        EXPECT_EQ(mayChange, ::MoveFileA(path, moved) && ::MoveFileA(moved, path));
        EXPECT_EQ(mayChange, ::DeleteFileA(path) != FALSE);
    };
    {
        CLockedFile file;
        ASSERT_TRUE(file.Open(path, true)) << "a plain file is no link";
        expectOthers(false);
    }
    expectOthers(true);
}
