// tests/e2e/NetLaunchTest.cpp: how net.exe is started and waited for, and how each outcome is reported.
#include "tests/e2e/MiroltDriver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

// Starts a request the stand-in will answer; returns the stand-in's record once it is running.
NetRecord StartSending(MiroltSession& session)
{
    session.FillIn("PC12", "hello");
    session.Click(IDC_SEND);
    if (!session.WaitForRecords(1))
        throw std::runtime_error("net.exe was not started");
    return session.Records()[0];
}

// Moves the system's net.exe aside for one test and always puts it back.
struct NetExeMissing {
    std::string path = SystemNetPath(), away = SystemNetPath() + ".away";
    NetExeMissing()
    {
        if (::GetFileAttributesA(away.c_str()) != INVALID_FILE_ATTRIBUTES)
            ::MoveFileExA(away.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);   // left by an aborted run
        moved = ::MoveFileA(path.c_str(), away.c_str()) != FALSE;
    }
    ~NetExeMissing()
    {
        if (moved)
            ::MoveFileA(away.c_str(), path.c_str());
    }
    bool moved = false;
};

bool IsSystemNet(const std::string& path)
{
    char wow[MAX_PATH] = "";
    ::GetSystemWow64DirectoryA(wow, MAX_PATH);
    return ::lstrcmpiA(path.c_str(), SystemNetPath().c_str()) == 0 ||
           (*wow && ::lstrcmpiA(path.c_str(), (std::string(wow) + "\\net.exe").c_str()) == 0);
}

} // namespace

TEST(Outcome, AFailingExitCodeIsReported)
{
    LaunchOptions options;
    options.netExit = 2;
    MiroltSession session(CurrentTestName(), options);
    StartSending(session);
    ExpectOkBox(session.WaitForBox(), session.Form(), "Error",
                "net.exe could not send the message: it ended with exit code 2.");
    EXPECT_FALSE(session.Enabled(IDC_MACHINE_NAME));
    EXPECT_FALSE(session.Enabled(IDC_MESSAGE));
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled("PC12", "hello");
    EXPECT_EQ(1u, session.Records().size());
}

TEST(Outcome, AMissingNetExeIsReportedWithTheSystemsReason)
{
    NetExeMissing missing;
    ASSERT_TRUE(missing.moved) << "could not move " << missing.path << " aside";
    MiroltSession session(CurrentTestName());
    session.FillIn("PC12", "hello");
    session.Click(IDC_SEND);
    BoxInfo box = session.WaitForBox();
    std::string prefix = "net.exe could not be started (" + SystemNetPath() + "): ";
    ExpectOkBox(box, session.Form(), "Error", prefix, true);
    std::string reason = box.text.substr(std::min(prefix.size(), box.text.size()));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(std::string::npos, reason.find_first_of("\r\n")) << reason;
    EXPECT_FALSE(session.Enabled(IDC_MACHINE_NAME));
    EXPECT_FALSE(session.Enabled(IDC_MESSAGE));
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled("PC12", "hello");
    EXPECT_TRUE(session.Records().empty());
}

// Takes a minute: the program gives net.exe 60 seconds.
TEST(Outcome, ANetExeStillRunningAfter60SecondsLeavesTheOutcomeUnknown)
{
    LaunchOptions options;
    options.netDelayMs = 100000;
    MiroltSession session(CurrentTestName(), options);
    NetRecord net = StartSending(session);
    BoxInfo box = session.WaitForBox(90000);
    ExpectOkBox(box, session.Form(), "Error",
                "net.exe has not finished after 60 seconds, so whether the message was sent is unknown.");
    EXPECT_TRUE(IsProcessRunning(net.pid)) << "net.exe ended, so this was not the time limit";
    EXPECT_FALSE(session.Enabled(IDC_MACHINE_NAME));
    EXPECT_FALSE(session.Enabled(IDC_MESSAGE));
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled("PC12", "hello");
}

TEST(Waiting, TheFormAnswersButTakesNoSecondRequestWhileNetRuns)
{
    LaunchOptions options;
    options.netDelayMs = 5000;
    MiroltSession session(CurrentTestName(), options);
    NetRecord net = StartSending(session);

    DWORD_PTR result = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(session.Form(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
    EXPECT_EQ("hello", session.Text(IDC_MESSAGE));
    EXPECT_TRUE(IsProcessRunning(net.pid)) << "the form answered only once net.exe had ended";
    for (int id : { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR })
        EXPECT_FALSE(session.Enabled(id)) << "control " << id;
    EXPECT_TRUE(session.Enabled(IDOK));
    EXPECT_EQ(nullptr, session.Box().hwnd);

    session.Key(VK_RETURN);
    session.Click(IDC_SEND);
    session.Command(IDC_SEND);
    session.Flush();
    ASSERT_TRUE(IsProcessRunning(net.pid)) << "the second requests came too late to test anything";

    ExpectOkBox(session.WaitForBox(), session.Form(), "Done", "Message has been sent");
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled("PC12", "hello");
    session.Flush();
    EXPECT_EQ(nullptr, session.Box().hwnd);
    EXPECT_EQ(1u, session.Records().size());
}

TEST(Waiting, QuitEscapeAndTheCloseBoxEndTheProgramWhileNetRuns)
{
    for (const char* way : { "Quit", "Escape", "close box" }) {
        SCOPED_TRACE(way);
        LaunchOptions options;
        options.netDelayMs = 8000;
        MiroltSession session(CurrentTestName(), options);
        NetRecord net = StartSending(session);
        EXPECT_TRUE(session.EndBy(way)) << "the program is still running";
        EXPECT_TRUE(IsProcessRunning(net.pid)) << "the program ended only after net.exe";
    }
}

// Started from a folder that holds a net.exe of its own, with another in the current folder, the
// program still asks the shell for the system's copy, hidden, and that is the one that runs.
TEST(Launch, OnlyTheSystemsNetExeIsStartedHidden)
{
    std::string base = Paths().work + "\\" + CurrentTestName();
    std::string programFolder = base + "\\program", currentFolder = base + "\\current";
    for (const std::string& folder : { base, programFolder, currentFolder })
        ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(Paths().mirolt.c_str(), (programFolder + "\\Mirolt.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(Paths().standin.c_str(), (programFolder + "\\net.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(Paths().standin.c_str(), (currentFolder + "\\net.exe").c_str(), FALSE));

    LaunchOptions options;
    options.exe = programFolder + "\\Mirolt.exe";
    options.currentDir = currentFolder;
    options.traceShell = true;
    MiroltSession session(CurrentTestName(), options);
    StartSending(session);
    ExpectOkBox(session.WaitForBox(), session.Form(), "Done", "Message has been sent");

    // Under Wine even a bare "net.exe" reaches the system's copy, so what was asked for is what tells.
    std::vector<ShellTrace> traces = session.Traces();
    ASSERT_EQ(1u, traces.size());
    EXPECT_EQ("00000000", traces[0].hwnd);
    EXPECT_EQ("(null)", traces[0].verb);
    EXPECT_STRCASEEQ(SystemNetPath().c_str(), traces[0].file.c_str());
    EXPECT_EQ(" send PC12 hello", traces[0].parm);
    EXPECT_EQ("(null)", traces[0].dir);
    EXPECT_EQ("0x00000000", traces[0].show);

    std::vector<NetRecord> records = session.Records();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ("0", records[0].show) << "net.exe was not started hidden";
    EXPECT_TRUE(IsSystemNet(records[0].module)) << records[0].module;
    EXPECT_EQ(" send PC12 hello", ArgumentsOf(records[0]));
}
