// netsend/netsend.cpp: the project's own NET SEND client. Where the system has no NET SEND (Windows Vista and
// later, whose net.exe refuses the command; Wine, whose net.exe has no SEND and reports success all the same),
// Mirolt.exe starts it from its own folder, once its SHA-256 is found to be that of the one built with it; the run
// script also puts it in Mirolt's own Wine prefix as net.exe. Its SEND delivers a message as Windows' Messenger
// service receives it (NetBIOS session service, then the SMB message commands). Nothing else of net.exe is here.
#include "platform/CodePage.h"
#include "netsend/ByteReader.h"
#include "netsend/ByteWriter.h"
#include "netsend/Deadline.h"
#include "netsend/MessageConversation.h"
#include "netsend/NetBios.h"
#include "netsend/NetSession.h"
#include "netsend/SendCommand.h"
#include "netsend/SmbMessage.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

namespace {

// The whole send may take no longer than this: the program that started us stops waiting after 60 seconds.
const DWORD kTotalTimeoutMs = 45000;
// NetBIOS name queries: how often, and how long to wait for each.
const int kNameQueryTries = 3;
const DWORD kNameQueryWaitMs = 1000;
const unsigned kSessionPort = 139;

const int kExitSent = 0;
const int kExitUsage = 1;
const int kExitFailed = 2;

const int kReasonRoom = 512;

// Room for the message in the OEM code page: the longest command line, two bytes a character.
char g_message[65536];

// Text for a console as the console shows it, or for a pipe or file in the OEM code page, as net.exe writes.
void Write(HANDLE out, const wchar_t* text, size_t length)
{
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, text, static_cast<DWORD>(length), &written, nullptr);
        return;
    }
    char buffer[1024];
    while (length > 0) {
        int chunk = length < 256 ? static_cast<int>(length) : 256;
        if (chunk == 256 && text[chunk - 1] >= 0xD800 && text[chunk - 1] < 0xDC00)
            --chunk;   // keep a surrogate pair together
        int bytes = ::WideCharToMultiByte(CP_OEMCP, 0, text, chunk, buffer, sizeof buffer, nullptr, nullptr);
        ::WriteFile(out, buffer, static_cast<DWORD>(bytes), &written, nullptr);
        text += chunk;
        length -= static_cast<size_t>(chunk);
    }
}

void Write(HANDLE out, const wchar_t* text)
{
    Write(out, text, static_cast<size_t>(::lstrlenW(text)));
}

// Converts `what` (the message or the name) to the OEM code page, which is what the Messenger service
// expects, refusing to replace anything: false, with the reason, when it does not fit in `room` or
// holds a character that the code page cannot carry.
bool ToOem(const wchar_t* text, size_t length, const wchar_t* what, char* out, size_t room, size_t& outLength,
           wchar_t* reason)
{
    outLength = 0;
    if (length == 0)
        return true;
    int bytes = ::WideCharToMultiByte(CP_OEMCP, 0, text, static_cast<int>(length), out, static_cast<int>(room),
                                      nullptr, nullptr);
    if (bytes <= 0) {
        ::wsprintfW(reason, L"The %s is too long.", what);
        return false;
    }
    if (unsigned long character = FirstUncarried(CP_OEMCP, text, static_cast<int>(length))) {
        ::wsprintfW(reason, L"The %s holds a character that the OEM code page (%u) cannot carry: U+%04lX.", what,
                    ::GetOEMCP(), character);
        return false;
    }
    outLength = static_cast<size_t>(bytes);
    return true;
}

// OEM text for a name, each character the code page lacks as the code page's default: used for our own
// names, which the receiver only shows.
size_t OemName(const wchar_t* name, char* out, size_t room)
{
    int bytes = ::WideCharToMultiByte(CP_OEMCP, 0, name, -1, out, static_cast<int>(room), nullptr, nullptr);
    return bytes > 0 ? static_cast<size_t>(bytes - 1) : 0;
}

void FormatAddress(const unsigned char address[4], wchar_t* text)
{
    ::wsprintfW(text, L"%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

// --- Finding the machine ----------------------------------------------------------------------------

struct Lookup {
    wchar_t name[256];
    unsigned char address[4];
    bool found;
};
Lookup g_lookup;

DWORD WINAPI LookUpThread(LPVOID)
{
    ADDRINFOW hints, *results = nullptr;
    ZeroMemory(&hints, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (::GetAddrInfoW(g_lookup.name, nullptr, &hints, &results) == 0) {
        for (ADDRINFOW* r = results; r && !g_lookup.found; r = r->ai_next) {
            if (r->ai_family == AF_INET && r->ai_addrlen >= sizeof(sockaddr_in)) {
                CopyMemory(g_lookup.address, &reinterpret_cast<sockaddr_in*>(r->ai_addr)->sin_addr, 4);
                g_lookup.found = true;
            }
        }
        ::FreeAddrInfoW(results);
    }
    return 0;
}

// The system's resolver (hosts file, DNS), in a thread of its own, since it takes no time limit.
bool LookUpWithSystem(const CDeadline& deadline, const wchar_t* name, size_t length, unsigned char address[4])
{
    if (length >= sizeof g_lookup.name / sizeof g_lookup.name[0])
        return false;
    CopyMemory(g_lookup.name, name, length * sizeof(wchar_t));
    g_lookup.name[length] = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, LookUpThread, nullptr, 0, nullptr);
    if (!thread)
        return false;
    bool done = ::WaitForSingleObject(thread, deadline.Allowed(kStepTimeoutMs)) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    if (!done || !g_lookup.found)
        return false;
    CopyMemory(address, g_lookup.address, 4);
    return true;
}

// Sends a name service query to `to` a few times, a second apart, and hands each datagram that comes back
// to `read` until it takes one as the answer: false when none came in time. `write` and `read` get the query's id.
template <typename Write, typename Read>
bool Ask(const CDeadline& deadline, const sockaddr_in& to, bool broadcast, Write write, Read read)
{
    unsigned id = (::GetCurrentProcessId() ^ ::GetTickCount()) & 0x7FFF;
    unsigned char request[64];
    CByteWriter out(request, sizeof request);
    write(out, id);
    SOCKET query = ::socket(AF_INET, SOCK_DGRAM, 0);
    BOOL on = TRUE;
    if (broadcast)
        ::setsockopt(query, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    bool answered = false;
    for (int attempt = 0; attempt < kNameQueryTries && !answered; ++attempt) {
        ::sendto(query, reinterpret_cast<const char*>(out.Data()), static_cast<int>(out.Length()), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
        DWORD start = ::GetTickCount(), waited;
        while (!answered && (waited = ::GetTickCount() - start) < kNameQueryWaitMs &&
               WaitForSocket(query, false, deadline.Allowed(kNameQueryWaitMs - waited))) {
            unsigned char answer[1024];
            int got = ::recv(query, reinterpret_cast<char*>(answer), sizeof answer, 0);
            if (got <= 0)
                break;   // nothing listens at the port: ask again
            CByteReader in(answer, static_cast<size_t>(got));
            answered = read(in, id);
        }
    }
    ::closesocket(query);
    return answered;
}

// Asks for NAME<03> by broadcast, or of one name server: Found with the address, NotFound when a name
// server said so, otherwise NotOurs.
NameQueryReply::Kind AskForName(const CDeadline& deadline, const sockaddr_in& to, bool broadcast, const char* name,
                                size_t length, unsigned char address[4])
{
    NameQueryReply reply;
    Ask(deadline, to, broadcast,
        [&](CByteWriter& out, unsigned id) { WriteNameQuery(out, id, name, length, broadcast); },
        [&](CByteReader& in, unsigned id) {
            reply = ReadNameQueryReply(in, id, name, length);
            return reply.kind != NameQueryReply::NotOurs;
        });
    CopyMemory(address, reply.address, 4);
    return reply.kind;
}

// The messenger name of the machine at `address`, as it says itself: its length, 0 when it does not answer a
// node status query or has no such name.
size_t AskForMessengerName(const CDeadline& deadline, const unsigned char address[4], char name[kNetBiosNameLength])
{
    NodeStatusReply reply;
    Ask(deadline, SocketAddress(address, kNameServicePort), false,
        [](CByteWriter& out, unsigned id) { WriteNodeStatusQuery(out, id); },
        [&](CByteReader& in, unsigned id) {
            reply = ReadNodeStatusReply(in, id);
            return reply.kind != NameQueryReply::NotOurs;
        });
    CopyMemory(name, reply.name, reply.length);
    return reply.length;
}

// A NetBIOS name query for NAME<03>, to the name server in MIROLT_NETBIOS_NS or else by broadcast;
// false with the reason when that finds no machine either.
bool LookUpWithNetBios(const CDeadline& deadline, const char* name, size_t length, unsigned char address[4],
                       wchar_t* reason)
{
    const wchar_t kNotFound[] = L"No machine of that name could be found: ";
    char server[64] = "";
    unsigned char serverAddress[4] = { 255, 255, 255, 255 };
    DWORD serverLength = ::GetEnvironmentVariableA("MIROLT_NETBIOS_NS", server, sizeof server);
    bool broadcast = serverLength == 0;
    if (!broadcast && (serverLength >= sizeof server || !ParseIPv4(server, serverLength, serverAddress))) {
        ::lstrcpyW(reason, L"MIROLT_NETBIOS_NS is not an IPv4 address.");
        return false;
    }
    if (length == 0) {
        ::wsprintfW(reason, L"%sthe system's name lookup does not know it, and it is too long for a NetBIOS name.",
                    kNotFound);
        return false;
    }

    NameQueryReply::Kind answer =
        AskForName(deadline, SocketAddress(serverAddress, kNameServicePort), broadcast, name, length, address);
    wchar_t serverText[16];
    FormatAddress(serverAddress, serverText);
    if (answer == NameQueryReply::Found)
        return true;
    if (broadcast)
        ::wsprintfW(reason, L"%sthe system's name lookup does not know it, and no machine answered a NetBIOS "
                            L"broadcast for it.", kNotFound);
    else if (answer == NameQueryReply::NotFound)
        ::wsprintfW(reason, L"%sneither the system's name lookup nor the NetBIOS name server at %s knows it.",
                    kNotFound, serverText);
    else
        ::wsprintfW(reason, L"%sthe system's name lookup does not know it, and the NetBIOS name server at %s did "
                            L"not answer.", kNotFound, serverText);
    return false;
}

const wchar_t* SessionErrorText(unsigned error)
{
    switch (error) {
    case 0x80: return L"not listening on the called name";
    case 0x81: return L"not listening for the calling name";
    case 0x82: return L"called name not present";
    case 0x83: return L"insufficient resources";
    default: return L"unspecified error";
    }
}

void DescribeFailure(const CMessageConversation::Failure& failure, const wchar_t* address, const char* called,
                     size_t calledLength, wchar_t* reason)
{
    wchar_t calledText[kNetBiosNameLength + 1];
    int calledChars = ::MultiByteToWideChar(CP_OEMCP, 0, called, static_cast<int>(calledLength), calledText,
                                            kNetBiosNameLength);
    calledText[calledChars > 0 ? calledChars : 0] = 0;
    switch (failure.kind) {
    case CMessageConversation::Failure::SessionRefused:
        ::wsprintfW(reason, L"%s does not receive messages for %s (NetBIOS session error 0x%02X: %s).", address,
                    calledText, failure.error, SessionErrorText(failure.error));
        break;
    case CMessageConversation::Failure::SessionRetargeted:
        ::wsprintfW(reason, L"%s asked to be reached at another address, which is not supported.", address);
        break;
    case CMessageConversation::Failure::MessageRefused:
        if (failure.ntStatus)
            ::wsprintfW(reason, L"The receiver at %s refused the message (NT status 0x%08lX).", address, failure.status);
        else
            ::wsprintfW(reason, L"The receiver at %s refused the message (SMB error class %lu, code %lu).", address,
                        failure.status & 0xFF, failure.status >> 16);
        break;
    case CMessageConversation::Failure::None:
    case CMessageConversation::Failure::NotASessionReply:
    case CMessageConversation::Failure::NotAMessageReply:
        ::wsprintfW(reason, L"The receiver at %s answered with something that is not a message reply.", address);
        break;
    }
}

bool Deliver(CNetSession& session, const char* called, size_t calledLength, const char* text, size_t textLength)
{
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = L"";
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(computer, &computerLength);
    char computerOem[64], calling[kNetBiosNameLength];
    size_t callingLength = NetBiosNameOf(computerOem, OemName(computer, computerOem, sizeof computerOem), calling);

    wchar_t user[257] = L"";
    DWORD userLength = 257;
    ::GetUserNameW(user, &userLength);
    char originator[600];
    size_t originatorLength = OemName(user, originator, sizeof originator);

    CMessageConversation conversation(called, calledLength, calling, callingLength, originator, originatorLength,
                                      reinterpret_cast<const unsigned char*>(text), textLength,
                                      ::GetCurrentProcessId());
    while (!conversation.Finished()) {
        unsigned char buffer[kSmbRequestRoom];
        CByteWriter request(buffer, sizeof buffer);
        conversation.WriteRequest(request);
        if (!session.Exchange(request))
            return false;
        CByteReader reply = session.Reply();
        if (!conversation.ReadReply(session.ReplyType(), reply)) {
            DescribeFailure(conversation.Failed(), session.Address(), called, calledLength, session.Reason());
            return false;
        }
    }
    return true;
}

// The port in MIROLT_NETSEND_PORT, or 139; 0 when the variable holds no port number.
unsigned SessionPort()
{
    char text[16];
    DWORD length = ::GetEnvironmentVariableA("MIROLT_NETSEND_PORT", text, sizeof text);
    if (length == 0)
        return kSessionPort;
    unsigned port = 0;
    for (DWORD i = 0; i < length && length < sizeof text; ++i) {
        if (text[i] < '0' || text[i] > '9' || port > 65535)
            return 0;
        port = port * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return port <= 65535 ? port : 0;
}

bool Send(const SendCommand& command, wchar_t* reason)
{
    CDeadline deadline(kTotalTimeoutMs);
    size_t textLength = 0, targetLength = 0;
    char target[1024];
    if (!ToOem(command.message, command.messageLength, L"message", g_message, sizeof g_message, textLength, reason) ||
        !ToOem(command.name, command.nameLength, L"name", target, sizeof target, targetLength, reason))
        return false;
    unsigned port = SessionPort();
    if (port == 0) {
        ::lstrcpyW(reason, L"MIROLT_NETSEND_PORT is not a port number (1 to 65535).");
        return false;
    }

    WSADATA winsock;
    int error = ::WSAStartup(MAKEWORD(2, 2), &winsock);
    if (error != 0) {
        ::wsprintfW(reason, L"The network could not be used (Winsock error %d).", error);
        return false;
    }

    char name[kNetBiosNameLength];
    size_t nameLength = NetBiosNameOf(target, targetLength, name);
    unsigned char address[4];
    if (ParseIPv4(target, targetLength, address)) {
        // A machine's Messenger service takes only its own name: an address is called by that, when it says it.
        size_t learned = AskForMessengerName(deadline, address, name);
        nameLength = learned ? learned : nameLength;
    } else if (!LookUpWithSystem(deadline, command.name, command.nameLength, address) &&
               !LookUpWithNetBios(deadline, name, nameLength, address, reason)) {
        return false;
    }

    // A machine known by a name too long for NetBIOS is called by the name that stands for any server.
    static const char kAnyServer[] = "*SMBSERVER";
    const char* called = nameLength ? name : kAnyServer;
    size_t calledLength = nameLength ? nameLength : sizeof kAnyServer - 1;
    wchar_t addressText[16];
    FormatAddress(address, addressText);
    CNetSession session(deadline, addressText, reason);
    return session.Connect(address, port) && Deliver(session, called, calledLength, g_message, textLength);
}

void Report(HANDLE out, const wchar_t* before, const SendCommand& command, const wchar_t* after)
{
    Write(out, before);
    Write(out, command.name, command.nameLength);
    Write(out, after);
}

} // namespace

int main()
{
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE), err = ::GetStdHandle(STD_ERROR_HANDLE);
    SendCommand command = ParseSendCommand(::GetCommandLineW());
    if (command.kind == SendCommand::Usage) {
        Write(err, L"The syntax of this command is:\r\n\r\nNET SEND {name | * | /DOMAIN[:name] | /USERS} message\r\n\r\n"
                   L"Only a message to one machine, by name or IPv4 address, can be sent here.\r\n");
        return kExitUsage;
    }

    wchar_t reason[kReasonRoom] = L"";
    if (command.kind == SendCommand::Broadcast)
        ::lstrcpyW(reason, L"Messages to several users at once (*, /DOMAIN, /USERS) cannot be sent here: name one "
                           L"machine.");
    else if (Send(command, reason)) {
        Report(out, L"The message was successfully sent to ", command, L".\r\n");
        return kExitSent;
    }
    Report(err, L"An error occurred while sending a message to ", command, L".\r\n\r\n");
    Write(err, reason);
    Write(err, L"\r\n");
    return kExitFailed;
}
