// tests/e2e/DeliveryTest.cpp: the real Mirolt.exe sends through the Wine prefix's own net.exe to a real
// receiver, Samba's smbd on the loopback address (tests/e2e/receiver-fixture.sh), and what smbd filed is
// checked byte by byte; every failure must be an Error box that says why.
#include <winsock2.h>

#include "tests/e2e/MiroltDriver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

struct Filed {
    std::string text, from;
};

// What the receiver filed: N.msg as Samba stores it (Unix line ends, UTF-8), and its sender in N.from.
std::vector<Filed> FiledMessages(bool remove = false)
{
    std::vector<Filed> filed;
    std::string folder = Option("messages");
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*.msg").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(search, &found)) {
        std::string path = folder + "\\" + found.cFileName, from = path.substr(0, path.size() - 4) + ".from";
        filed.push_back({ ReadFile(path), ReadFile(from) });
        if (!filed.back().from.empty() && filed.back().from.back() == '\n')
            filed.back().from.pop_back();
        if (remove)
            ::DeleteFileA(path.c_str()) && ::DeleteFileA(from.c_str());
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return filed;
}

// Sends what the fields hold; the box that answers.
BoxInfo Send(MiroltSession& session, const std::string& machine, const std::string& message)
{
    FiledMessages(true);
    session.FillIn(machine, message);
    session.Click(IDC_SEND);
    return session.WaitForBox(30000);
}

// A port of the loopback address: closed, or listened to but never answered.
struct LoopbackPort {
    explicit LoopbackPort(bool listen)
    {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
        number = std::to_string(ntohs(address.sin_port));
        if (listen)
            ::listen(socket, 4);
        else
            ::closesocket(socket);
    }
    ~LoopbackPort() { ::closesocket(socket); }
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    std::string number;
};

// Several thousand characters over many lines, varied so that a lost or repeated block shows.
std::string LongMessage(const char* lineEnd)
{
    std::string text;
    for (int line = 0; line < 90; ++line) {
        for (int i = 0; i < 70; ++i)
            text += static_cast<char>('a' + (line * 7 + i * 3) % 26);
        text += line < 89 ? lineEnd : "";
    }
    return text;
}

} // namespace

TEST(Delivery, MessagesArriveWholeAndExactly)
{
    SystemNetReplaced net(Option("net"));
    ASSERT_TRUE(net.done);
    char user[257] = "";
    DWORD userLength = sizeof user;
    ::GetUserNameA(user, &userLength);
    const struct {
        const char* machine;   // an address, a name the system knows, a name only the NetBIOS name server knows
        std::string message, filed;
    } cases[] = {
        { "127.0.0.1", "Lunch at 12, OK?", "Lunch at 12, OK?" },
        { "localhost", "Line one\r\nLine two: 100% \"quoted\" %s caf\xE9", "Line one\nLine two: 100% \"quoted\" %s caf\xC3\xA9" },
        { "RECEIVER", LongMessage("\r\n"), LongMessage("\n") },
    };
    MiroltSession session(CurrentTestName());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.machine);
        ExpectOkBox(Send(session, c.machine, c.message), session.Form(), "Done", "Message has been sent");
        ASSERT_TRUE(WaitFor([] { return !FiledMessages().empty(); })) << "nothing arrived";
        std::vector<Filed> filed = FiledMessages();
        ASSERT_EQ(1u, filed.size());
        size_t same = 0;
        while (same < c.filed.size() && same < filed[0].text.size() && c.filed[same] == filed[0].text[same])
            ++same;
        EXPECT_TRUE(c.filed == filed[0].text) << filed[0].text.size() << " bytes filed of " << c.filed.size()
                                              << ", the first " << same << " as sent";
        EXPECT_EQ(user, filed[0].from);
        ASSERT_TRUE(session.DismissBox());
    }
}

TEST(Delivery, EveryFailureIsAnErrorThatSaysWhy)
{
    SystemNetReplaced net(Option("net"));
    ASSERT_TRUE(net.done);
    WSADATA winsock;
    ASSERT_EQ(0, ::WSAStartup(MAKEWORD(2, 2), &winsock));
    LoopbackPort closed(false), silent(true);
    char receiver[16] = "";
    ::GetEnvironmentVariableA("MIROLT_NETSEND_PORT", receiver, sizeof receiver);
    const struct {
        const char* machine;
        std::string port, message, reason;
    } cases[] = {
        { "NOBODY", receiver, "hello",
          "No machine of that name could be found: neither the system's name lookup nor the NetBIOS name server at "
          "127.0.0.1 knows it." },
        { "127.0.0.1", closed.number, "hello",
          "127.0.0.1 refused the connection on port " + closed.number + ": nothing there receives messages." },
        { "127.0.0.1", silent.number, "hello", "The receiver at 127.0.0.1 did not answer within 5 seconds." },
        { "127.0.0.1", receiver, "5 \x80 each",
          "The message holds a character that the OEM code page (" + std::to_string(::GetOEMCP()) +
              ") cannot carry: U+20AC." },
        { "*", receiver, "hello",
          "Messages to several users at once (*, /DOMAIN, /USERS) cannot be sent here: name one machine." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        ::SetEnvironmentVariableA("MIROLT_NETSEND_PORT", c.port.c_str());
        MiroltSession session(CurrentTestName());
        BoxInfo box = Send(session, c.machine, c.message);
        ExpectOkBox(box, session.Form(), "Error", "The message could not be sent to " + std::string(c.machine) + ".",
                    true);
        EXPECT_NE(std::string::npos, box.text.find("\r\n" + c.reason + "\r\n")) << box.text;
        EXPECT_TRUE(FiledMessages().empty());
    }
    ::SetEnvironmentVariableA("MIROLT_NETSEND_PORT", receiver);
    ::WSACleanup();
}
