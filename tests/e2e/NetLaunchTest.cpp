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
    if (!WaitFor([&] { return !session.Records().empty(); }))
        throw std::runtime_error("net.exe was not started");
    return session.Records()[0];
}

bool IsSystemNet(const std::string& path)
{
    char wow[MAX_PATH] = "";
    ::GetSystemWow64DirectoryA(wow, MAX_PATH);
    return ::lstrcmpiA(path.c_str(), SystemNetPath().c_str()) == 0 ||
           (*wow && ::lstrcmpiA(path.c_str(), (std::string(wow) + "\\net.exe").c_str()) == 0);
}

// What net.exe prints when the name is not on the network (NERR 2273), from a German system: 0x81 is
// "ü" and 0xE1 "ß" in its OEM code page, with the blank lines and trailing spaces net.exe leaves.
const char kGermanNerr2273[] =
    "\\r\\nFehler beim Senden einer Nachricht an PC12.\\r\\n\\r\\n\\r\\n"
    "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.   \\r\\n\\r\\n"
    "Weitere Hilfe f\\x81r diesen Fehler erhalten Sie mit NET HELPMSG 2273. Gr\\x81\\xE1e\\r\\n\\r\\n";
const char kGermanNerr2273Shown[] =
    "The message could not be sent to PC12.\r\n\r\n"
    "Fehler beim Senden einer Nachricht an PC12.\r\n\r\n"
    "Der Nachrichtenalias wurde im Netzwerk nicht gefunden.\r\n\r\n"
    "Weitere Hilfe f\xFCr diesen Fehler erhalten Sie mit NET HELPMSG 2273. Gr\xFC\xDF"
    "e\r\n\r\n(net.exe ended with exit code 2.)";

// What net.exe prints on a Windows without NET SEND.
const char kCommandList[] =
    "The syntax of this command is:\\r\\n\\r\\nNET\\r\\n"
    "    [ ACCOUNTS | COMPUTER | CONFIG | CONTINUE | FILE | GROUP | HELP |\\r\\n"
    "      HELPMSG | LOCALGROUP | PAUSE | SESSION | SHARE | START |\\r\\n"
    "      STATISTICS | STOP | TIME | USE | USER | VIEW ]\\r\\n\\r\\n";
// With no netsend.exe beside the program to send in its place.
const char kNoNetSendShown[] =
    "The message could not be sent to PC12. This version of Windows has no NET SEND command (Windows Vista removed "
    "it), and netsend.exe, which sends in its place, is not in @.\r\n\r\n"
    "net.exe did not accept the command and said:\r\n\r\nThe syntax of this command is:\r\n\r\nNET\r\n"
    "    [ ACCOUNTS | COMPUTER | CONFIG | CONTINUE | FILE | GROUP | HELP |\r\n[...]\r\n\r\n"
    "(net.exe ended with exit code 1.)";

struct OutcomeCase {
    const char* what;
    int exitCode;
    const char* out;   // what the stand-in writes, escaped
    const char* err;
    const char* caption;
    const char* shown;
};

const OutcomeCase kOutcomes[] = {
    { "words on standard output", 2, kGermanNerr2273, "", "Error", kGermanNerr2273Shown },
    { "words on standard error only", 2, "", kGermanNerr2273, "Error", kGermanNerr2273Shown },
    { "no words", 2, "", "", "Error", "net.exe could not send the message: it ended with exit code 2." },
    { "no NET SEND on this Windows", 1, kCommandList, "", "Error", kNoNetSendShown },
    { "success, whatever net.exe says", 0, kGermanNerr2273, "warning\\r\\n", "Done", "Message has been sent" },
};

} // namespace

TEST(Outcome, EachOutcomeIsReportedInNetExesOwnWords)
{
    // Beside the built program is the netsend.exe built with it; a copy elsewhere has none (@ in the text).
    std::string alone = Paths().work + "\\" + CurrentTestName();
    for (const OutcomeCase& outcome : kOutcomes) {
        SCOPED_TRACE(outcome.what);
        std::string shown = outcome.shown;
        LaunchOptions options;
        if (shown.find('@') != std::string::npos) {
            options.exe = CopyOfMirolt(alone);
            shown.replace(shown.find('@'), 1, alone);
        }
        options.netExit = outcome.exitCode;
        options.netStdout = outcome.out;
        options.netStderr = outcome.err;
        MiroltSession session(CurrentTestName(), options);
        StartSending(session);
        ExpectOkBox(session.WaitForBox(), session.Form(), outcome.caption, shown);
        ASSERT_TRUE(session.DismissBox());
        session.ExpectSettled("PC12", "hello");
        EXPECT_EQ(1u, session.Records().size());
    }
}

// A megabyte of words neither hangs net.exe nor the program; the box shows the first screenful.
TEST(Outcome, AFloodOfWordsIsCutToAScreenAndTheNextSendStillWorks)
{
    const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXY";
    LaunchOptions options;
    options.netExit = 2;
    options.netStdout = line + "\\r\\n";
    options.netRepeat = 1024 * 1024 / 64;
    std::string shown = "The message could not be sent to PC12.\r\n\r\n";
    for (int i = 0; i < 20; ++i)
        shown += line + "\r\n";
    shown += "[...]\r\n\r\n(net.exe ended with exit code 2.)";

    MiroltSession session(CurrentTestName(), options);
    for (int send = 1; send <= 2; ++send) {
        SCOPED_TRACE("send " + std::to_string(send));
        if (send == 1)
            StartSending(session);
        else
            session.Click(IDC_SEND);
        BoxInfo box = session.WaitForBox(15000);
        ExpectOkBox(box, session.Form(), "Error", shown);
        RECT frame = {};
        ::GetWindowRect(box.hwnd, &frame);
        EXPECT_LE(frame.bottom - frame.top, ::GetSystemMetrics(SM_CYSCREEN)) << "the box does not fit on the screen";
        EXPECT_LE(frame.right - frame.left, ::GetSystemMetrics(SM_CXSCREEN)) << "the box does not fit on the screen";
        ASSERT_TRUE(session.DismissBox());
        session.ExpectSettled("PC12", "hello");
        EXPECT_EQ(static_cast<size_t>(send), session.Records().size());
    }
}

TEST(Outcome, AMissingNetExeIsReportedWithTheSystemsReason)
{
    SystemNetReplaced missing("");
    ASSERT_TRUE(missing.done);
    MiroltSession session(CurrentTestName());
    session.FillIn("PC12", "hello");
    session.Click(IDC_SEND);
    BoxInfo box = session.WaitForBox();
    std::string prefix = "net.exe could not be started (" + SystemNetPath() + "): ";
    ExpectOkBox(box, session.Form(), "Error", prefix, true);
    std::string reason = box.text.substr(std::min(prefix.size(), box.text.size()));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(std::string::npos, reason.find_first_of("\r\n")) << reason;
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled("PC12", "hello");
    EXPECT_TRUE(session.Records().empty());
}

// Takes a minute: the program gives net.exe 60 seconds.
TEST(Outcome, ANetExeStillRunningAfter60SecondsLeavesTheOutcomeUnknown)
{
    LaunchOptions options;
    options.netDelayMs = 100000;
    options.netStdout = "Sending the message to PC12...\\r\\n";
    MiroltSession session(CurrentTestName(), options);
    NetRecord net = StartSending(session);
    ExpectOkBox(session.WaitForBox(90000), session.Form(), "Error", "net.exe has not finished after 60 seconds, so "
                "whether the message was sent is unknown. So far net.exe has said:\r\n\r\nSending the message to PC12...");
    EXPECT_TRUE(IsProcessRunning(net.pid)) << "net.exe ended, so this was not the time limit";
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

// Started from a folder that holds a net.exe of its own, with another net.exe and a netsend.exe in the
// current folder, the program still starts the system's copy, hidden, with the parameters after its quoted
// path; where that has no NET SEND, it looks for netsend.exe only beside itself.
TEST(Launch, OnlyTheSystemsNetExeIsStartedHiddenAndNetsendOnlyFromBesideTheProgram)
{
    std::string base = Paths().work + "\\" + CurrentTestName();
    std::string programFolder = base + "\\program", currentFolder = base + "\\current";
    for (const std::string& folder : { base, currentFolder })
        ::CreateDirectoryA(folder.c_str(), nullptr);
    LaunchOptions options;
    options.exe = CopyOfMirolt(programFolder);
    for (const char* planted : { "\\net.exe", "\\netsend.exe" })
        ASSERT_TRUE(::CopyFileA(Paths().standin.c_str(), (currentFolder + planted).c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(Paths().standin.c_str(), (programFolder + "\\net.exe").c_str(), FALSE));
    options.currentDir = currentFolder;

    for (int exitCode : { 0, 1 }) {
        options.netExit = exitCode;
        MiroltSession session(CurrentTestName(), options);
        StartSending(session);
        BoxInfo box = session.WaitForBox();
        if (exitCode == 0)
            ExpectOkBox(box, session.Form(), "Done", "Message has been sent");
        else
            EXPECT_NE(std::string::npos, box.text.find("netsend.exe, which sends in its place, is not in " +
                                                       programFolder + "."))
                << box.text;
        std::vector<NetRecord> records = session.Records();
        ASSERT_EQ(1u, records.size());
        EXPECT_TRUE(IsSystemNet(records[0].module)) << records[0].module;
        EXPECT_EQ("0", records[0].show) << "net.exe was not started hidden";
        EXPECT_STRCASEEQ(("\"" + SystemNetPath() + "\" send PC12 hello").c_str(), records[0].cmdline.c_str());
    }
}
