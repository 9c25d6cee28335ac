// tests/unit/ChildProcessTest.cpp: CChildProcess starting the recording stand-in net.exe, which the
// environment tells what to write and when to end; no window is needed to wait for it.
#include "platform/ChildProcess.h"
#include "platform/Dialog.h"

#include <gtest/gtest.h>

#include <string.h>
#include <winternl.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Finished {
    CChildProcess::Outcome outcome = CChildProcess::Unknown;
    DWORD exitCode = 0;
    std::string output;
};

// Starts the stand-in with `environment`; once `ended` says so, only after it has ended, waits for it.
Finished RunStandin(std::vector<std::pair<const char*, std::string>> environment, DWORD timeout = 10000,
               bool ended = false)
{
    static const std::string standin = [] {
        for (int i = 1; i < __argc; ++i)
            if (strncmp(__argv[i], "--standin=", 10) == 0)
                return std::string(__argv[i] + 10);
        return std::string("no --standin=PATH");
    }();
    char log[MAX_PATH];
    ::GetTempFileNameA(".", "net", 0, log);
    environment.emplace_back("MIROLT_NET_LOG", log);
    for (const auto& variable : environment)
        ::SetEnvironmentVariableA(variable.first, variable.second.c_str());
    Finished run;
    {
        CChildProcess child;
        CDialog nowhere(0);
        EXPECT_TRUE(child.Start(standin.c_str(), " send PC12 hello"));
        // The stand-in records its pid first thing.
        DWORD pid = 0;
        for (int i = 0; i < 500 && pid == 0; ++i, ::Sleep(10)) {
            if (FILE* file = fopen(log, "rb")) {
                fscanf(file, "pid=%lu", &pid);
                fclose(file);
            }
        }
        HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
        EXPECT_TRUE(!ended || ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0);
        run.outcome = child.WaitForExit(nowhere, timeout, run.exitCode);
        run.output.assign(child.Output(), static_cast<size_t>(child.OutputLength()));
        ::TerminateProcess(process, 99);
        ::CloseHandle(process);
    }
    for (const auto& variable : environment)
        ::SetEnvironmentVariableA(variable.first, nullptr);
    ::DeleteFileA(log);
    return run;
}

// Handles this process holds, as the system counts them.
size_t HandleCount()
{
    typedef NTSTATUS(NTAPI * Query)(ULONG, PVOID, ULONG, PULONG);
    Query query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    struct Entry { ULONG pid; BYTE type, flags; USHORT handle; PVOID object; ACCESS_MASK access; };
    std::vector<BYTE> buffer(1 << 20);
    ULONG size = 0;
    while (query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &size) < 0)
        buffer.resize(buffer.size() * 2);
    ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const Entry* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    size_t ours = 0;
    for (ULONG i = 0; i < count; ++i)
        ours += entries[i].pid == ::GetCurrentProcessId();
    return ours;
}

} // namespace

TEST(ChildProcess, KeepsTheWordsOfAProgramThatEndedBeforeTheWaitBegan)
{
    for (const char* stream : { "MIROLT_NET_STDOUT", "MIROLT_NET_STDERR" }) {
        Finished run = RunStandin({ { stream, "last words\\r\\n" }, { "MIROLT_NET_EXIT", "2" } }, 10000, true);
        EXPECT_EQ(CChildProcess::Exited, run.outcome);
        EXPECT_EQ(2u, run.exitCode);
        EXPECT_EQ("last words\r\n", run.output) << stream;
    }
}

TEST(ChildProcess, SaysSoWhenTheProgramOutlivesTheWait)
{
    DWORD start = ::GetTickCount();
    Finished run = RunStandin({ { "MIROLT_NET_DELAY_MS", "10000" } }, 300);
    EXPECT_EQ(CChildProcess::StillRunning, run.outcome);
    EXPECT_LT(::GetTickCount() - start, 5000u);
}

TEST(ChildProcess, DropsOutputPastItsBoundWithoutBlockingTheProgram)
{
    std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY\\r\\n";
    Finished run = RunStandin({ { "MIROLT_NET_STDOUT", line }, { "MIROLT_NET_REPEAT", "16384" } });
    EXPECT_EQ(CChildProcess::Exited, run.outcome);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(static_cast<size_t>(CChildProcess::MaxOutput), run.output.size());
    EXPECT_EQ(0u, run.output.rfind("0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY\r\n", 0));
}

TEST(ChildProcess, ClosesEveryHandleItOpened)
{
    RunStandin({});   // the first run loads what stays loaded
    size_t before = HandleCount();
    for (int i = 0; i < 3; ++i)
        RunStandin({ { "MIROLT_NET_STDOUT", "words" } });
    RunStandin({ { "MIROLT_NET_DELAY_MS", "10000" } }, 100);
    EXPECT_EQ(before, HandleCount());
}
