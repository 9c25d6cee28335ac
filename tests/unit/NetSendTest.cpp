// tests/unit/NetSendTest.cpp: what the Wine prefix's net.exe sends and reads, against bytes captured on the loopback
// device from Samba's smbclient -M talking to smbd, smbd's refusal and nmblookup asking nmbd; and its command line.
#include "netsend/MessageConversation.h"
#include "netsend/NetBios.h"
#include "netsend/SendCommand.h"
#include "netsend/SmbMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ToHex(const void* data, size_t length)
{
    std::string hex;
    for (const unsigned char* byte = static_cast<const unsigned char*>(data); length > 0; --length, ++byte)
        hex += { "0123456789abcdef"[*byte >> 4], "0123456789abcdef"[*byte & 15] };
    return hex;
}

std::vector<unsigned char> FromHex(const std::string& hex)
{
    std::vector<unsigned char> bytes(hex.size() / 2);   // no room behind: a read past the end is caught
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

const std::string kLetters = [] { std::string a; for (int i = 0; i < 300; ++i) a += char('a' + i % 26); return a; }();

// smbclient -M TRIAL -U alice from a machine called VM, process 0x2e9a, sending kLetters to smbd on port 139:
// session request, start, three text blocks (their headers, then the letters they carry), end, and smbd's replies.
const std::string kSessionRequest = "81000044" "2046454643454a4542454d4341434143414341434143414341434143414341414400"
                                    "204647454e4341434143414341434143414341434143414341434143414341414100";
const char kSessionAccepted[] = "82000000";
const char kStart[] = "00000031ff534d42d50000000000000000000000000000000000000000009a2e00000000000e"
                      "0004616c6963650004545249414c00";
const char kStartReply[] = "00000023ff534d42d50000000080034000000000000000000000000000009a2e00000000000000";
const std::string kTextHeader = "ff534d42d70000000000000000000000000000000000000000009a2e00000000";
const std::string kText1 = "000000a7" + kTextHeader + "0100008200017f00" + ToHex(&kLetters[0], 127);
const std::string kText2 = "000000a7" + kTextHeader + "0100008200017f00" + ToHex(&kLetters[127], 127);
const std::string kText3 = "00000056" + kTextHeader + "0100003100012e00" + ToHex(&kLetters[254], 46);
const char kTextReply[] = "00000023ff534d42d70000000080034000000000000000000000000000009a2e00000000000000";
const char kEnd[] = "00000025ff534d42d60000000000000000000000000000000000000000009a2e000000000100000000";
const char kEndReply[] = "00000023ff534d42d60000000080034000000000000000000000000000009a2e00000000000000";
// smbd with no message command refuses the start: ERRDOS class 1, code 71.
const char kStartRefused[] = "00000023ff534d42d50100470080030000000000000000000000000000009a2e00000000000000";
// nmblookup -U 127.0.0.1 --recursion RECEIVER#03 and NOBODY#03, answered by nmbd as a WINS server.
const char kReceiverQuery[] =
    "058d01000001000000000000204643454645444546454a464745464643434143414341434143414341434141440000200001";
const std::string kReceiverFound = "058d85800000000100000000204643454645444546454a4647454646434341434143414341434143"
                                   "414341414400002000010007e900000660007f000001";
const char kNobodyUnknown[] =
    "70228583000000010000000020454f4550454345504545464a434143414341434143414341434143414341414400000a0001000000000000";
// nmblookup -A 192.0.2.1 and nmbd's reply: NAMESERVER <00> <03> <20>, the groups WORKGROUP <00> <1e>, zero statistics.
const std::string kNodeStatusReply = "27e98400000000010000000020434b41414141414141414141414141414141414141414141414141"
    "41414141410000210001000000000089054e414d4553455256455220202020200064004e414d4553455256455220202020200364004e414d"
    "455345525645522020202020206400574f524b47524f555020202020202000e400574f524b47524f55502020202020201ee400" +
    std::string(2 * 46, '0');
const std::string kNodeStatusQuery = "27e900000001000000000000" + kNodeStatusReply.substr(24, 76);

// What a write function puts out, in hex; empty when it ran out of room.
template <typename Write>
std::string Written(Write write)
{
    unsigned char buffer[kSmbRequestRoom];
    CByteWriter out(buffer, sizeof buffer);
    write(out);
    return out.Failed() ? "" : ToHex(out.Data(), out.Length());
}

} // namespace

TEST(NetBios, NamesAndQueriesAreAsSambaHasThemAndOnlyTheAnswerToOurOwnQuestionIsTaken)
{
    EXPECT_EQ(Written([](CByteWriter& out) { WriteNetBiosName(out, "ABCDEFGHIJKLMNO", 15, 3); }),
              Written([](CByteWriter& out) { WriteNetBiosName(out, "ABCDEFGHIJKLMNOPQ", 17, 3); }));   // cut to 15
    // A machine's NetBIOS name (none for sixteen-chars-xy), and its address when it is one, not a host's name.
    const char* const machines[][3] = {
        { "pc12", "PC12", "" }, { "Pc12.example.com", "PC12", "" }, { "010.0.0.255", "010.0.0.255", "0a0000ff" },
        { "255.255.255.255", "255.255.255.255", "ffffffff" }, { "fifteen-chars-x.lan", "FIFTEEN-CHARS-X", "" },
        { "sixteen-chars-xy", "", "" }, { "", "", "" }, { "1.2.3.4.5", "1", "" }, { "1.2.3.4.", "1", "" },
        { "1..2.3", "1", "" }, { "1.2.3", "1", "" }, { "1.2.3.0004", "1", "" }, { "256.0.0.1", "256", "" },
        { "0x7f.0.0.1", "0X7F", "" }, { " 1.2.3.4", " 1", "" },
    };
    for (const auto& c : machines) {
        std::vector<char> text(c[0], c[0] + strlen(c[0]));   // no room behind: a read past the end is caught
        char name[kNetBiosNameLength];
        unsigned char address[4];
        EXPECT_EQ(c[1], std::string(name, NetBiosNameOf(text.data(), text.size(), name))) << c[0];
        EXPECT_EQ(c[2], ParseIPv4(text.data(), text.size(), address) ? ToHex(address, 4) : "") << c[0];
    }
    for (bool broadcast : { false, true })
        EXPECT_EQ(std::string(kReceiverQuery).replace(4, 4, broadcast ? "0110" : "0100"),
                  Written([&](CByteWriter& out) { WriteNameQuery(out, 0x058d, "RECEIVER", 8, broadcast); }));
    EXPECT_EQ(kNodeStatusQuery, Written([](CByteWriter& out) { WriteNodeStatusQuery(out, 0x27e9); }));
    using Reply = NameQueryReply;
    // To a name query for `name`, the address found; to a node status query (no name), the messenger name found.
    const struct { std::string hex; unsigned id; const char* name; Reply::Kind kind; std::string found{}; } cases[] = {
        { kReceiverFound, 0x058d, "RECEIVER", Reply::Found, "7f000001" },
        { kNobodyUnknown, 0x7022, "NOBODY", Reply::NotFound },
        { kReceiverFound, 0x058e, "RECEIVER", Reply::NotOurs },
        { kReceiverFound, 0x058d, "RECEIVEX", Reply::NotOurs },
        { (kReceiverFound + "ff").replace(2 * 54, 4, "0007"), 0x058d, "RECEIVER", Reply::NotOurs },   // 7 bytes: 6 + 1
        { kReceiverFound.substr(0, 2 * 54) + "0000", 0x058d, "RECEIVER", Reply::NotOurs },   // no entry
        { std::string(kReceiverFound).replace(4, 4, "0580"), 0x058d, "RECEIVER", Reply::NotOurs },
        { kNodeStatusReply, 0x27e9, nullptr, Reply::Found, "NAMESERVER" },
        { std::string(kNodeStatusReply).replace(2 * 89, 2, "58"), 0x27e9, nullptr, Reply::Found, "NAMESERVER    X" },
        { std::string(kNodeStatusReply).replace(2 * 46, 4, "0020"), 0x27e9, nullptr, Reply::NotOurs },
        { std::string(kNodeStatusReply).replace(2 * 54, 4, "0025"), 0x27e9, nullptr, Reply::NotOurs },   // 2 fit
        { std::string(kNodeStatusReply).replace(2 * 90, 2, "1f"), 0x27e9, nullptr, Reply::NotFound },   // no <03>
        { std::string(kNodeStatusReply).replace(2 * 91, 2, "e4"), 0x27e9, nullptr, Reply::NotFound },   // a group
    };
    for (const auto& c : cases)
        for (size_t cut = c.kind == Reply::Found ? 0 : c.hex.size(); cut <= c.hex.size(); cut += 2) {
            SCOPED_TRACE(c.hex.substr(0, cut));   // an answer cut short is none
            std::vector<unsigned char> bytes = FromHex(c.hex.substr(0, cut));
            CByteReader in(bytes.data(), bytes.size());
            NameQueryReply address = c.name ? ReadNameQueryReply(in, c.id, c.name, strlen(c.name)) : Reply();
            NodeStatusReply status = c.name ? NodeStatusReply() : ReadNodeStatusReply(in, c.id);
            EXPECT_EQ(cut < c.hex.size() ? Reply::NotOurs : c.kind, c.name ? address.kind : status.kind);
            EXPECT_EQ(cut < c.hex.size() || c.kind != Reply::Found ? c.name ? "00000000" : "" : c.found,
                      c.name ? ToHex(address.address, 4) : std::string(status.name, status.length));
        }
}

TEST(Conversation, SendsWhatSambasClientSendsAndEndsAtTheFirstReplyThatRefusesOrMakesNoSense)
{
    using Failure = CMessageConversation::Failure;
    const std::string capture[][2] = { { kSessionRequest, kSessionAccepted }, { kStart, kStartReply },
        { kText1, kTextReply }, { kText2, kTextReply }, { kText3, kTextReply }, { kEnd, kEndReply } };
    const std::string ntRefused = std::string(kStartRefused).replace(2 * 9, 8, "d00000c0").replace(2 * 14, 4, "0340");
    // `sent` requests answered as smbd did, then `reply` to the next ends it: `detail` is its error or status.
    const struct { int sent; std::string reply; Failure::Kind kind; unsigned long detail; } cases[] = {
        { 5, kEndReply, Failure::None, 0 },   // all of it
        { 0, "8300000182", Failure::SessionRefused, 0x82 },
        { 0, "84000006" "7f000001008b", Failure::SessionRetargeted, 0 },
        { 0, "83000000", Failure::NotASessionReply, 0 },
        { 0, "8200000100", Failure::NotASessionReply, 0 },
        { 0, kStartReply, Failure::NotASessionReply, 0 },
        { 1, kStartRefused, Failure::MessageRefused, 0x00470001 },
        { 1, ntRefused, Failure::MessageRefused, 0xC00000D0 },   // NT status flag in flags2
        { 1, kTextReply, Failure::NotAMessageReply, 0 },   // the reply to another command
        { 1, kStart, Failure::NotAMessageReply, 0 },       // not a reply at all
        { 1, std::string(kStartReply).replace(2 * 30, 4, "9a2f"), Failure::NotAMessageReply, 0 },   // another process's
        { 1, std::string(kStartRefused, 8 + 2 * 31), Failure::NotAMessageReply, 0 },   // cut inside the header
        { 1, "00000021" + std::string(kStartReply + 8, 2 * 33), Failure::NotAMessageReply, 0 },   // no byte count
        { 1, "82" + std::string(kStartReply + 2), Failure::NotAMessageReply, 0 },   // not a session message
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        const unsigned char* text = reinterpret_cast<const unsigned char*>(kLetters.data());
        CMessageConversation conversation("TRIAL", 5, "VM", 2, "alice", 5, text, kLetters.size(), 0x2e9a);
        for (int i = 0; i <= c.sent; ++i) {
            EXPECT_EQ(capture[i][0], Written([&](CByteWriter& out) { conversation.WriteRequest(out); }));
            std::vector<unsigned char> reply = FromHex(i < c.sent ? capture[i][1] : c.reply);
            CByteReader body(reply.data() + 4, reply.size() - 4);   // after the header's type, flags and length
            ASSERT_EQ(i < c.sent || c.kind == Failure::None, conversation.ReadReply(reply[0], body));
        }
        EXPECT_TRUE(conversation.Finished());
        const Failure& failure = conversation.Failed();
        EXPECT_EQ(c.kind, failure.kind);
        EXPECT_EQ(c.detail, c.kind == Failure::SessionRefused ? failure.error : failure.status);
        EXPECT_EQ(c.reply == ntRefused, failure.ntStatus);
    }
}

TEST(CommandLine, TakesTheNameAndEverythingAfterTheOneSpaceThatFollowsIt)
{
    const struct { const wchar_t *line, *name, *message; SendCommand::Kind kind; } cases[] = {
        { L"net SEND pc12  two\r\n\"quoted\" 100% %s\t", L"pc12", L" two\r\n\"quoted\" 100% %s\t", SendCommand::Send },
        { L"net send PC12\thi", L"PC12", L"hi", SendCommand::Send },
        { L"\"C:\\Program Files\\net.exe\"  Send 127.0.0.1 caf\u00e9", L"127.0.0.1", L"caf\u00e9", SendCommand::Send },
        { L"net send * hi", L"*", L"hi", SendCommand::Broadcast },
        { L"net send /users hi", L"/users", L"hi", SendCommand::Broadcast },
        { L"net send /DOMAIN hi", L"/DOMAIN", L"hi", SendCommand::Broadcast },
        { L"net send /domain:WORK hi", L"/domain:WORK", L"hi", SendCommand::Broadcast },
    };
    for (const auto& c : cases) {
        SendCommand command = ParseSendCommand(c.line);
        EXPECT_EQ(c.kind, command.kind) << c.line;
        EXPECT_EQ(c.name, std::wstring(command.name, command.nameLength)) << c.line;
        EXPECT_EQ(c.message, std::wstring(command.message, command.messageLength)) << c.line;
    }
    for (const wchar_t* line : { L"net send /domains hi", L"net send PC12", L"net send PC12 ", L"net send",
                                 L"net sendx PC12 hi", L"net help send", L"\"net send PC12 hi\"", L"" })
        EXPECT_EQ(SendCommand::Usage, ParseSendCommand(line).kind) << line;
}
