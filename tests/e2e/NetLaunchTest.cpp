// tests/e2e/NetLaunchTest.cpp: how net.exe is started and waited for, how each outcome is reported, and
// leaving the program meanwhile.
#include "tests/e2e/MiroltDriver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Sends "hello" to PC12 and returns once the stand-in has recorded its start.
void StartSending(MiroltSession& session)
{
    session.Send(L"PC12", L"hello");
    if (!WaitFor([&] { return !session.Records().empty(); }))
        throw std::runtime_error("net.exe was not started");
}

// What net.exe prints when the name is not on the network (NERR 2273), from a German system: 0x81 is
// "ü" and 0xE1 "ß" in its OEM code page, with the blank lines and trailing spaces net.exe leaves.
const char kGermanNerr2273[] = "\r\nFehler beim Senden einer Nachricht an PC12.\r\n\r\n\r\n"
                               "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.   \r\n\r\n"
                               "Weitere Hilfe f\x81r diesen Fehler erhalten Sie mit NET HELPMSG 2273. Gr\x81\xE1"
                               "e\r\n\r\n";
const char kGermanNerr2273Shown[] = "The message could not be sent to PC12.\r\n\r\n"
                                    "Fehler beim Senden einer Nachricht an PC12.\r\n\r\n"
                                    "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.\r\n\r\n"
                                    "Weitere Hilfe f\xFCr diesen Fehler erhalten Sie mit NET HELPMSG 2273. Gr\xFC\xDF"
                                    "e\r\n\r\n(net.exe ended with exit code 2.)";

// What net.exe prints on a Windows without NET SEND.
const char kCommandList[] = "The syntax of this command is:\r\n\r\nNET\r\n"
                            "    [ ACCOUNTS | COMPUTER | CONFIG | CONTINUE | FILE | GROUP | HELP |\r\n"
                            "      HELPMSG | LOCALGROUP | PAUSE | SESSION | SHARE | START |\r\n"
                            "      STATISTICS | STOP | TIME | USE | USER | VIEW ]\r\n\r\n";

} // namespace

// With a net.exe beside the program and another, and a netsend.exe, in the current folder, only the system's
// net.exe starts, hidden, with the parameters after its quoted path. The box says what became of it, in its own
// words where it had any; four times the words kept hang nothing, and the sends after them still work.
TEST(Outcome, EachOutcomeIsReportedInNetExesOwnWords)
{
    std::string base = TestPath(), program = base + ".program", current = base + ".current";
    std::string exe = CopyOfMirolt(program);
    ::CreateDirectoryA(current.c_str(), nullptr);
    for (const std::string& planted : { program + "\\net.exe", current + "\\net.exe", current + "\\netsend.exe" })
        ASSERT_TRUE(::CopyFileA(Option("standin").c_str(), planted.c_str(), FALSE));

    const bool olderWindows = ::GetEnvironmentVariableA("MIROLT_RULES", nullptr, 0) > 0;
    const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY";
    std::string screen = "The message could not be sent to PC12.\r\n\r\n";
    for (int i = 0; i < 20; ++i)
        screen += line + "\r\n";
    const struct {   // netGone: the system folder holds no net.exe
        const char* what; bool netGone; int exitCode; std::string out, err; int repeat; std::string shown;
    } outcomes[] = {
        { "a flood of words, before the others", false, 2, line + "\r\n", "", 4096,
          screen + "[...]\r\n\r\n(net.exe ended with exit code 2.)" },
        { "words", false, 2, kGermanNerr2273, "", 1, kGermanNerr2273Shown },
        { "no words", false, 2, "", "", 1, "net.exe could not send the message: it ended with exit code 2." },
        // Before Vista (the probe's rules report XP or NT 4.0), exit code 1 is net.exe refusing this command.
        { "no NET SEND on this Windows, or net.exe refusing the command", false, 1, kCommandList, "", 1, olderWindows ?
          "The message could not be sent to PC12.\r\n\r\n" + std::string(kCommandList, sizeof kCommandList - 5) +
          "\r\n\r\n(net.exe ended with exit code 1.)" :
          "The message could not be sent to PC12. This version of Windows has no NET SEND command (Windows Vista "
          "removed it), and netsend.exe, which sends in its place, is not in " + program + ".\r\n\r\n"
          "net.exe did not accept the command and said:\r\n\r\nThe syntax of this command is:\r\n\r\nNET\r\n"
          "    [ ACCOUNTS | COMPUTER | CONFIG | CONTINUE | FILE | GROUP | HELP |\r\n[...]\r\n\r\n"
          "(net.exe ended with exit code 1.)" },
        { "success, whatever net.exe says", false, 0, kGermanNerr2273, "warning\r\n", 1, "" },
        { "no net.exe, and none other started in its place", true, 0, "", "", 1,
          "net.exe could not be started (" + SystemNetPath() + "): " + SystemWords(ERROR_FILE_NOT_FOUND) },
    };
    MiroltSession session(exe, current);
    // Someone else made the pipe that the first wait would read first, open to more instances: the words go
    // through the next name, whole.
    HANDLE squatter = ::CreateNamedPipeA(("\\\\.\\pipe\\Mirolt." + std::to_string(session.Pid()) + ".1").c_str(),
                                         PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 0, 4096, 0,
                                         nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, squatter);
    size_t started = 0;
    for (const auto& outcome : outcomes) {
        SCOPED_TRACE(outcome.what);
        SystemNetReplaced net(outcome.netGone ? "" : Option("standin"));
        ASSERT_TRUE(net.done);
        session.SetNet(outcome.exitCode, outcome.out, outcome.err, outcome.repeat);
        session.Send(L"PC12", L"hello");
        session.ExpectOutcome(outcome.shown);
        session.DismissAndExpectSettled(L"PC12", L"hello");
        std::vector<NetRecord> records = session.Records();
        started += outcome.netGone ? 0 : 1;
        ASSERT_EQ(started, records.size());
        EXPECT_EQ(std::string::npos, records.back().module.find(base)) << "ran the planted " << records.back().module;
        EXPECT_EQ("0", records.back().show) << "net.exe was not started hidden";
        EXPECT_EQ("\"" + SystemNetPath() + "\" send PC12 hello", records.back().cmdline);
    }
    ::CloseHandle(squatter);
}

// Takes a minute: the program gives net.exe 60 seconds.
TEST(Outcome, ANetExeStillRunningAfter60SecondsLeavesTheOutcomeUnknown)
{
    MiroltSession session;
    session.SetNet(0, "Sending the message to PC12...\r\n", "", 1, 100000);
    StartSending(session);
    session.ExpectOutcome("net.exe has not finished after 60 seconds, so whether the message was sent is unknown. So "
                          "far net.exe has said:\r\n\r\nSending the message to PC12...", false, 90000);
    EXPECT_FALSE(session.Enabled(IDC_MESSAGE));
    session.DismissAndExpectSettled(L"PC12", L"hello");
    EXPECT_EQ(1u, session.EndNet(99)) << "net.exe ended, so this was not the time limit";
}

// While net.exe runs, the form answers with its input greyed and starts no second request. Quit, Escape and the
// close box end the program at once, then as at any time, leaving net.exe to finish.
TEST(Waiting, TheFormAnswersButTakesNoSecondRequestWhileNetRunsAndEndsAtOnce)
{
    for (bool netRuns : { true, false }) {
        for (const char* way : { "Quit", "Escape", "close box" }) {
            SCOPED_TRACE(std::string(way) + (netRuns ? " while net.exe runs" : ""));
            MiroltSession session;
            session.SetNet(0, "", "", 1, 100000);
            if (netRuns) {
                StartSending(session);
                // The driver's every query fails when the form does not answer.
                EXPECT_EQ(L"hello", session.Text(IDC_MESSAGE));
                for (int id : { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR })
                    EXPECT_FALSE(session.Enabled(id)) << "control " << id;
                session.Command(IDC_SEND);
                EXPECT_EQ(nullptr, session.Box().hwnd);
            }
            if (way == std::string("Quit"))
                session.RealClick(session.Item(IDOK));
            else if (way == std::string("Escape"))
                session.Type("\x1b");
            else
                EXPECT_TRUE(session.CloseBoxClick());
            EXPECT_TRUE(session.Ended(10000)) << "the program is still running";
            EXPECT_EQ(netRuns ? 1u : 0u, session.EndNet(99));
        }
    }
}
