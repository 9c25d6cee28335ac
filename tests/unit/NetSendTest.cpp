// tests/unit/NetSendTest.cpp: what the Wine prefix's net.exe sends and how it reads the answers, against
// bytes captured on the loopback device from Samba's own client (smbclient -M) talking to smbd, smbd's
// refusal, and nmblookup asking nmbd; and how it reads its command line.
#include "wine/MessageConversation.h"
#include "wine/NetBios.h"
#include "wine/SendCommand.h"
#include "wine/SmbMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// smbclient -M TRIAL -U alice, from a machine called VM, on port 139: the session request.
const char kSessionRequest[] =
    "81000044"
    "2046454643454a4542454d4341434143414341434143414341434143414341414400"
    "204647454e4341434143414341434143414341434143414341434143414341414100";
const char kSessionAccepted[] = "82000000";

// The same client from process 0x2e9a, sending 300 letters: start, three text blocks, end, and smbd's replies.
const char kStart[] =
    "00000031ff534d42d50000000000000000000000000000000000000000009a2e00000000000e0004616c6963650004545249414c00";
const char kStartReply[] = "00000023ff534d42d50000000080034000000000000000000000000000009a2e00000000000000";
const char kText1[] =
    "000000a7ff534d42d70000000000000000000000000000000000000000009a2e000000000100008200017f00"
    "6162636465666768696a6b6c6d6e6f707172737475767778797a6162636465666768696a6b6c6d6e6f707172737475767778797a"
    "6162636465666768696a6b6c6d6e6f707172737475767778797a6162636465666768696a6b6c6d6e6f707172737475767778797a"
    "6162636465666768696a6b6c6d6e6f7071727374757677";
const char kText2[] =
    "000000a7ff534d42d70000000000000000000000000000000000000000009a2e000000000100008200017f00"
    "78797a6162636465666768696a6b6c6d6e6f707172737475767778797a6162636465666768696a6b6c6d6e6f7071727374757677"
    "78797a6162636465666768696a6b6c6d6e6f707172737475767778797a6162636465666768696a6b6c6d6e6f7071727374757677"
    "78797a6162636465666768696a6b6c6d6e6f7071727374";
const char kText3[] =
    "00000056ff534d42d70000000000000000000000000000000000000000009a2e000000000100003100012e00"
    "75767778797a6162636465666768696a6b6c6d6e6f707172737475767778797a6162636465666768696a6b6c6d6e";
const char kTextReply[] = "00000023ff534d42d70000000080034000000000000000000000000000009a2e00000000000000";
const char kEnd[] = "00000025ff534d42d60000000000000000000000000000000000000000009a2e000000000100000000";
const char kEndReply[] = "00000023ff534d42d60000000080034000000000000000000000000000009a2e00000000000000";
// smbd with no message command refuses the start: ERRDOS class 1, code 71.
const char kStartRefused[] = "00000023ff534d42d50100470080030000000000000000000000000000009a2e00000000000000";

// nmblookup -U 127.0.0.1 --recursion RECEIVER#03 and NOBODY#03, answered by nmbd as a WINS server.
const char kReceiverQuery[] = "058d01000001000000000000204643454645444546454a464745464643434143414341434143414341434141440000200001";
const char kReceiverFound[] = "058d85800000000100000000204643454645444546454a4647454646434341434143414341434143414341414400002000010007e900000660007f000001";
const char kNobodyUnknown[] = "70228583000000010000000020454f4550454345504545464a434143414341434143414341434143414341414400000a0001000000000000";

const unsigned kPid = 0x2e9a;

std::vector<unsigned char> FromHex(const std::string& hex)
{
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string ToHex(const unsigned char* bytes, size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < length; ++i)
        hex += std::string{ digits[bytes[i] >> 4], digits[bytes[i] & 15] };
    return hex;
}

// What a write function puts out, in hex; empty when it ran out of room.
template <typename Write>
std::string Written(Write write)
{
    unsigned char buffer[kSmbRequestRoom];
    CByteWriter out(buffer, sizeof buffer);
    write(out);
    return out.Failed() ? "" : ToHex(out.Data(), out.Length());
}

std::string Request(const CMessageConversation& conversation)
{
    return Written([&](CByteWriter& out) { conversation.WriteRequest(out); });
}

// Hands the conversation one session-service packet, given whole in hex.
bool Answer(CMessageConversation& conversation, const std::string& packet)
{
    std::vector<unsigned char> bytes = FromHex(packet);
    CByteReader in(bytes.data(), bytes.size());
    unsigned type = 0;
    size_t length = 0;
    ReadNbssHeader(in, type, length);
    EXPECT_EQ(length, in.Remaining()) << packet;
    return conversation.ReadReply(type, in);
}

const std::string kLetters = [] {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}();

// The conversation of the capture; `text` must outlive it.
CMessageConversation SambaConversation(const std::string& text = kLetters)
{
    return CMessageConversation("TRIAL", 5, "VM", 2, "alice", 5, reinterpret_cast<const unsigned char*>(text.data()),
                                text.size(), kPid);
}

std::string Name(const char* name, unsigned suffix)
{
    return Written([&](CByteWriter& out) { WriteNetBiosName(out, name, strlen(name), suffix); });
}

} // namespace

TEST(NetBiosName, IsEncodedAsSambasClientEncodesIt)
{
    EXPECT_EQ("2046454643454a4542454d4341434143414341434143414341434143414341414400", Name("TRIAL", 3));
    EXPECT_EQ("204647454e4341434143414341434143414341434143414341434143414341414100", Name("VM", 0));
    // Fifteen bytes at most; the suffix is always the sixteenth.
    EXPECT_EQ(Name("ABCDEFGHIJKLMNO", 3), Name("ABCDEFGHIJKLMNOPQ", 3));
}

TEST(NetBiosName, OfAMachineIsItsAddressOrTheHostPartOfItsName)
{
    const struct {
        const char* target;
        const char* name;
    } cases[] = {
        { "pc12", "PC12" },
        { "Pc12.example.com", "PC12" },
        { "127.0.0.1", "127.0.0.1" },
        { "255.255.255.255", "255.255.255.255" },
        { "fifteen-chars-x.lan", "FIFTEEN-CHARS-X" },
        { "sixteen-chars-xy", "" },   // no NetBIOS name at all
        { "1.2.3.4.5", "1" },         // not an address: a host called 1
    };
    for (const auto& c : cases) {
        char name[kNetBiosNameLength];
        size_t length = NetBiosNameOf(c.target, strlen(c.target), name);
        EXPECT_EQ(c.name, std::string(name, length)) << c.target;
    }
}

TEST(Conversation, SendsExactlyWhatSambasClientSendsAndTakesSmbdsReplies)
{
    CMessageConversation conversation = SambaConversation();
    const struct {
        const char* request;
        const char* reply;
    } steps[] = {
        { kSessionRequest, kSessionAccepted },
        { kStart, kStartReply },
        { kText1, kTextReply },
        { kText2, kTextReply },
        { kText3, kTextReply },
        { kEnd, kEndReply },
    };
    for (const auto& step : steps) {
        ASSERT_FALSE(conversation.Finished());
        EXPECT_EQ(step.request, Request(conversation));
        ASSERT_TRUE(Answer(conversation, step.reply));
    }
    EXPECT_TRUE(conversation.Finished());
    EXPECT_EQ(CMessageConversation::Failure::None, conversation.Failed().kind);
}

TEST(Conversation, CarriesTheMessageGroupOfTheStartReplyIntoEveryBlock)
{
    const std::string text = "hi";
    CMessageConversation conversation = SambaConversation(text);
    ASSERT_TRUE(Answer(conversation, kSessionAccepted));
    // A start reply with one parameter word, the group, as Windows gives it.
    std::string reply = kStartReply;
    reply.replace(0, 8, "00000025");
    reply.replace(reply.size() - 6, 6, "01341200" "00");
    ASSERT_TRUE(Answer(conversation, reply));
    EXPECT_EQ("013412", Request(conversation).substr(2 * 36, 6));   // word count, group
    ASSERT_TRUE(Answer(conversation, kTextReply));
    EXPECT_EQ("013412", Request(conversation).substr(2 * 36, 6));
}

TEST(Conversation, EndsAtTheFirstReplyThatRefusesOrMakesNoSense)
{
    using Failure = CMessageConversation::Failure;
    std::string ntRefused = kStartRefused;
    ntRefused.replace(2 * 9, 8, "d00000c0").replace(2 * 14, 4, "0340");   // NT status flag in flags2
    std::string otherProcess = kStartReply;
    otherProcess.replace(2 * 30, 4, "9a2f");
    const struct {
        int accepted;   // replies taken before this one: 0 session, 1 start, 2 the first text block
        std::string reply;
        Failure::Kind kind;
        unsigned long detail;   // the session error, or the status
    } cases[] = {
        { 0, "8300000182", Failure::SessionRefused, 0x82 },
        { 0, "830000018f", Failure::SessionRefused, 0x8f },
        { 0, "84000006" "7f000001008b", Failure::SessionRetargeted, 0 },
        { 0, "83000000", Failure::NotASessionReply, 0 },
        { 0, "8200000100", Failure::NotASessionReply, 0 },
        { 0, kStartReply, Failure::NotASessionReply, 0 },
        { 1, kStartRefused, Failure::MessageRefused, 0x00470001 },
        { 1, ntRefused, Failure::MessageRefused, 0xC00000D0 },
        { 1, kTextReply, Failure::NotAMessageReply, 0 },             // the reply to another command
        { 1, kStart, Failure::NotAMessageReply, 0 },                 // not a reply at all
        { 1, otherProcess, Failure::NotAMessageReply, 0 },
        { 1, std::string(kStartReply, 8 + 2 * 31), Failure::NotAMessageReply, 0 },   // cut inside the header
        { 1, "00000021" + std::string(kStartReply + 8, 2 * 33), Failure::NotAMessageReply, 0 },   // no byte count
        { 1, kSessionAccepted, Failure::NotAMessageReply, 0 },
        { 2, std::string(kStartRefused).replace(2 * 8, 2, "d7"), Failure::MessageRefused, 0x00470001 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        CMessageConversation conversation = SambaConversation();
        const char* good[] = { kSessionAccepted, kStartReply };
        for (int i = 0; i < c.accepted; ++i)
            ASSERT_TRUE(Answer(conversation, good[i]));
        std::vector<unsigned char> bytes = FromHex(c.reply);
        CByteReader in(bytes.data(), bytes.size());
        unsigned type = 0;
        size_t length = 0;
        ReadNbssHeader(in, type, length);
        EXPECT_FALSE(conversation.ReadReply(type, in));
        EXPECT_TRUE(conversation.Finished());
        const Failure& failure = conversation.Failed();
        EXPECT_EQ(c.kind, failure.kind);
        EXPECT_EQ(c.detail, c.kind == Failure::SessionRefused ? failure.error : failure.status);
        EXPECT_EQ(c.reply == ntRefused, failure.ntStatus);
    }
}

TEST(NameQuery, AsksAsNmblookupAsks)
{
    EXPECT_EQ(kReceiverQuery, Written([](CByteWriter& out) { WriteNameQuery(out, 0x058d, "RECEIVER", 8, false); }));
    std::string broadcast = kReceiverQuery;
    broadcast.replace(4, 4, "0110");
    EXPECT_EQ(broadcast, Written([](CByteWriter& out) { WriteNameQuery(out, 0x058d, "RECEIVER", 8, true); }));
}

TEST(NameQuery, TakesOnlyTheAnswerToItsOwnQuestion)
{
    std::string found = kReceiverFound;
    const struct {
        std::string reply;
        unsigned id;
        const char* name;
        NameQueryReply::Kind kind;
    } cases[] = {
        { found, 0x058d, "RECEIVER", NameQueryReply::Found },
        { kNobodyUnknown, 0x7022, "NOBODY", NameQueryReply::NotFound },
        { found, 0x058e, "RECEIVER", NameQueryReply::NotOurs },
        { found, 0x058d, "RECEIVEX", NameQueryReply::NotOurs },
        { found.substr(0, found.size() - 2), 0x058d, "RECEIVER", NameQueryReply::NotOurs },
        { std::string(found).replace(found.size() - 16, 4, "0005"), 0x058d, "RECEIVER", NameQueryReply::NotOurs },
        { kReceiverQuery, 0x058d, "RECEIVER", NameQueryReply::NotOurs },
        { "", 0x058d, "RECEIVER", NameQueryReply::NotOurs },
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes = FromHex(c.reply);
        CByteReader in(bytes.data(), bytes.size());
        NameQueryReply reply = ReadNameQueryReply(in, c.id, c.name, strlen(c.name));
        EXPECT_EQ(c.kind, reply.kind) << c.reply;
        if (c.kind == NameQueryReply::Found)
            EXPECT_EQ("7f000001", ToHex(reply.address, 4));
    }
}

TEST(CommandLine, TakesTheNameAndEverythingAfterTheOneSpaceThatFollowsIt)
{
    const struct {
        const wchar_t* line;
        SendCommand::Kind kind;
        const wchar_t* name;
        const wchar_t* message;
    } cases[] = {
        { L"\"C:\\windows\\system32\\net.exe\"  send PC12 hello", SendCommand::Send, L"PC12", L"hello" },
        { L"net SEND pc12  two spaces\r\n\"quoted\" 100% %s\t", SendCommand::Send, L"pc12", L" two spaces\r\n\"quoted\" 100% %s\t" },
        { L"net send PC12\thi", SendCommand::Send, L"PC12", L"hi" },
        { L"\"C:\\Program Files\\net.exe\" Send 127.0.0.1 caf\u00e9", SendCommand::Send, L"127.0.0.1", L"caf\u00e9" },
        { L"net send * hi", SendCommand::Broadcast, L"*", L"hi" },
        { L"net send /users hi", SendCommand::Broadcast, L"/users", L"hi" },
        { L"net send /DOMAIN hi", SendCommand::Broadcast, L"/DOMAIN", L"hi" },
        { L"net send /domain:WORK hi", SendCommand::Broadcast, L"/domain:WORK", L"hi" },
        { L"net send /domains hi", SendCommand::Usage, nullptr, nullptr },
        { L"net send PC12", SendCommand::Usage, nullptr, nullptr },
        { L"net send PC12 ", SendCommand::Usage, nullptr, nullptr },
        { L"net send", SendCommand::Usage, nullptr, nullptr },
        { L"net sendx PC12 hi", SendCommand::Usage, nullptr, nullptr },
        { L"net help send", SendCommand::Usage, nullptr, nullptr },
        { L"\"net send PC12 hi\"", SendCommand::Usage, nullptr, nullptr },
        { L"", SendCommand::Usage, nullptr, nullptr },
    };
    for (const auto& c : cases) {
        SendCommand command = ParseSendCommand(c.line);
        EXPECT_EQ(c.kind, command.kind) << c.line;
        if (c.kind != SendCommand::Usage) {
            EXPECT_EQ(c.name, std::wstring(command.name, command.nameLength)) << c.line;
            EXPECT_EQ(c.message, std::wstring(command.message, command.messageLength)) << c.line;
        }
    }
}

TEST(CommandLine, AnAddressIsFourNumbersUpTo255)
{
    const struct {
        const char* text;
        const char* address;   // null: not an address
    } cases[] = {
        { "127.0.0.1", "7f000001" },
        { "010.0.0.255", "0a0000ff" },
        { "256.0.0.1", nullptr },
        { "1.2.3", nullptr },
        { "1.2.3.4.", nullptr },
        { "1..2.3", nullptr },
        { "0x7f.0.0.1", nullptr },
        { "1.2.3.0004", nullptr },
        { " 1.2.3.4", nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases) {
        unsigned char address[4] = {};
        bool parsed = ParseIPv4(c.text, strlen(c.text), address);
        EXPECT_EQ(c.address != nullptr, parsed) << c.text;
        if (c.address && parsed)
            EXPECT_EQ(c.address, ToHex(address, 4)) << c.text;
    }
}
