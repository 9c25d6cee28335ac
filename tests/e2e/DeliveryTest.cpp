// tests/e2e/DeliveryTest.cpp: the real Mirolt.exe sends through the Wine prefix's own net.exe to real receivers
// on the loopback addresses (tests/e2e/receiver-fixture.sh): what Samba's smbd filed is checked byte by byte, and
// every failure, a hostile receiver's too, must be an Error box that says why.
#include "tests/e2e/MiroltDriver.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Takes what has arrived (with `wait`, once something has): each message's sender and called name (N.from), then
// its text (N.msg: Unix line ends, UTF-8).
std::string TakeFiled(bool wait)
{
    std::string filed, folder = Option("messages");
    WaitFor([&] {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((folder + "\\*.msg").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(search, &found)) {
            std::string text = folder + "\\" + found.cFileName, from = text.substr(0, text.size() - 4) + ".from";
            filed += ReadFile(from) + ReadFile(text);
            ::DeleteFileA(text.c_str()) && ::DeleteFileA(from.c_str());
        }
        ::FindClose(search);
        return !wait || !filed.empty();
    });
    return filed;
}

} // namespace

// Each message arrives whole and exactly, or the box says why it could not, and nothing arrives.
TEST(Delivery, EachMessageArrivesExactlyOrTheErrorSaysWhy)
{
    SystemNetReplaced net(Option("net"));
    ASSERT_TRUE(net.done);
    char user[257] = "", port[16] = "";
    DWORD userLength = sizeof user;
    ::GetUserNameA(user, &userLength);
    ::GetEnvironmentVariableA("MIROLT_NETSEND_PORT", port, sizeof port);
    const std::wstring longText = VariedText(6300, 71, L"\r\n"), longFiled = VariedText(6300, 71, L"\n");
    // To an address (called by the name nmbd there says it has), a name the system knows and a NetBIOS name; then at
    // the receiver's port nothing listens on 127.0.0.2, and the hostile receivers of the fixture are on .3 and .4.
    const struct { std::wstring machine, message; std::string filed, reason; } cases[] = {
        { L"127.0.0.1", L"Lunch at 12, OK?", "nameserver\nLunch at 12, OK?", "" },
        { L"localhost", L"Line one\r\nLine two: 100% \"quoted\" %s caf\u00E9",
          "localhost\nLine one\nLine two: 100% \"quoted\" %s caf\xC3\xA9", "" },
        { L"RECEIVER", longText, "receiver\n" + std::string(longFiled.begin(), longFiled.end()), "" },   // many blocks
        { L"NOBODY", L"hello", "", "No machine of that name could be found: neither the system's name lookup nor the "
                                   "NetBIOS name server at 127.0.0.1 knows it." },
        { L"127.0.0.2", L"hello", "",
          "127.0.0.2 refused the connection on port " + std::string(port) + ": nothing there receives messages." },
        { L"127.0.0.3", L"hello", "", "The receiver at 127.0.0.3 did not answer within 5 seconds." },
        { L"127.0.0.4", L"hello", "", "The receiver at 127.0.0.4 refused the message (SMB error class 2, code 1)." },
        { L"127.0.0.1", L"5 \u20AC each", "", "The message holds a character that the OEM code page (" +
                                                 std::to_string(::GetOEMCP()) + ") cannot carry: U+20AC." },
        { L"*", L"hello", "", "Messages to several users at once (*, /DOMAIN, /USERS) cannot be sent here: name one "
                              "machine." },
    };
    MiroltSession session;
    for (const auto& c : cases) {
        std::string machine(c.machine.begin(), c.machine.end());
        SCOPED_TRACE(machine + " " + c.reason);
        session.Send(c.machine, c.message);
        BoxInfo box = session.ExpectOutcome(c.reason.empty() ? "" : "The message could not be sent to " + machine + ".",
                                            true);
        EXPECT_TRUE(c.reason.empty() || box.text.find("\r\n" + c.reason + "\r\n") != std::string::npos) << box.text;
        EXPECT_EQ(c.reason.empty() ? user + (" to " + c.filed) : "", TakeFiled(c.reason.empty()));
        session.DismissAndExpectSettled(c.machine, c.message);
    }
}

// Where the system has no NET SEND (net.exe refuses the command, or is Wine's own, by either of Wine's marks), the
// netsend.exe built with Mirolt and lying beside it sends, and no other: not a changed copy, nor one that cannot be
// opened as it must be, nor a link.
TEST(Delivery, WithoutNetSendOnlyTheNetsendBuiltWithMiroltSendsInItsPlace)
{
    // One byte of the DOS stub's text changed: such a copy would still run. Wine's own net.exe marked as a placeholder.
    std::string changed = TestPath("-netsend.exe"), bytes = ReadFile(Option("net"));
    std::string placeholder = TestPath("-net.exe"), wines = ReadFile(Option("wine-net"));
    ASSERT_TRUE(bytes.size() > 0x4E && wines.compare(0x40, 20, std::string("Wine builtin DLL\0\0\0\0", 20)) == 0);
    bytes[0x4E] ^= 0x20;
    std::ofstream(changed, std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(placeholder, std::ios::binary | std::ios::trunc) << wines.replace(0x40, 20, "Wine placeholder DLL");

    const std::string vista = "This version of Windows has no NET SEND command (Windows Vista removed it), ",
                      wine = "The system's net.exe is Wine's own, which has no NET SEND command, ",
                      tried = wine + "so Mirolt tried its own netsend.exe.\r\n\r\nnetsend.exe could not be started (";
    // The client beside Mirolt: the one built, none, a changed copy, a folder, or one the test holds open for writing;
    // under the probe's rules of NT 4.0, or of a system with links, where every netsend.exe is one (Wine makes none).
    const struct { std::string net, client; const char* rules; std::string refusal, after; } cases[] = {
        { "", Option("net"), "", "", "" }, { Option("wine-net"), Option("net"), "", "", "" },
        { placeholder, Option("net"), "", "", "" }, { Option("wine-net"), Option("net"), "nt4", "", "" },
        { Option("wine-net"), "", "", wine + "and netsend.exe, which sends in its place, is not in ", "." },
        { placeholder, "", "", wine + "and netsend.exe, which sends in its place, is not in ", "." },
        { "", changed, "", vista + "and the netsend.exe in ", " is not the one that came with this Mirolt" },
        { Option("wine-net"), "folder", "", tried, "\\netsend.exe): " + SystemWords(ERROR_ACCESS_DENIED) },
        { Option("wine-net"), "held", "", tried, "\\netsend.exe): " + SystemWords(ERROR_SHARING_VIOLATION) },
        { Option("wine-net"), Option("net"), "links", wine + "and the netsend.exe in ",
          " is a link to another file, which Mirolt does not follow, so it was not started." },
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.net + " and " + c.client + " " + c.rules);
        std::string folder = TestPath(std::to_string(i)), client = folder + "\\netsend.exe";
        SystemNetReplaced net(c.net.empty() ? Option("standin") : c.net);
        ASSERT_TRUE(net.done);
        std::string beside = c.client == "folder" ? "" : c.client == "held" ? Option("net") : c.client;
        std::string exe = CopyOfMirolt(folder, beside);
        HANDLE held = c.client == "held" ? ::CreateFileA(client.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                         OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE;
        ASSERT_TRUE(c.client != "folder" || ::CreateDirectoryA(client.c_str(), nullptr));
        ::SetEnvironmentVariableA("MIROLT_RULES", *c.rules ? c.rules : nullptr);
        MiroltSession session(exe);
        ::SetEnvironmentVariableA("MIROLT_RULES", nullptr);
        session.SetNet(1, "The syntax of this command is:\r\n");
        session.Send(L"127.0.0.1", L"Lunch at 12, OK?");
        session.ExpectOutcome(c.refusal.empty() ? "" : "The message could not be sent to 127.0.0.1. " + c.refusal +
                                                           folder + c.after, true);
        std::string filed = TakeFiled(c.refusal.empty());   // compared from after the sender's name
        EXPECT_EQ(c.refusal.empty() ? " to nameserver\nLunch at 12, OK?" : "", filed.erase(0, filed.find(' ', 1)));
        EXPECT_EQ(c.net.empty() ? 1u : 0u, session.Records().size()) << "only the system's net.exe records";
        ::CloseHandle(held);
        ::RemoveDirectoryA(client.c_str());
    }
}
