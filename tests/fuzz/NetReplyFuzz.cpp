// tests/fuzz/NetReplyFuzz.cpp: feeds arbitrary replies to the conversation and the name query of the Wine
// prefix's net.exe, and arbitrary command lines to its reading of them; checks what must hold for any input.
#include "wine/MessageConversation.h"
#include "wine/NetBios.h"
#include "wine/SendCommand.h"
#include "wine/SmbMessage.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        abort();
}

void CheckCommandLine(const uint8_t* data, size_t size)
{
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    line = line.c_str();   // up to the first NUL, as a command line ends
    SendCommand command = ParseSendCommand(line.c_str());
    if (command.kind == SendCommand::Usage)
        return;
    const wchar_t* begin = line.c_str();
    const wchar_t* end = begin + line.size();
    Require(command.nameLength > 0 && command.messageLength > 0);
    Require(command.name > begin && command.name + command.nameLength < command.message);
    Require(command.message + command.messageLength == end);
    for (size_t i = 0; i < command.nameLength; ++i)
        Require(command.name[i] != L' ' && command.name[i] != L'\t');
}

void CheckAddress(const uint8_t* data, size_t size)
{
    unsigned char address[4];
    if (!ParseIPv4(reinterpret_cast<const char*>(data), size, address))
        return;
    char text[16];
    snprintf(text, sizeof text, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
    unsigned char again[4];
    Require(ParseIPv4(text, strlen(text), again) && memcmp(address, again, 4) == 0);
}

void CheckNameQueryReply(const uint8_t* data, size_t size)
{
    CByteReader in(data, size);
    unsigned id = size >= 2 ? (data[0] << 8u) | data[1] : 0;
    NameQueryReply reply = ReadNameQueryReply(in, id, "RECEIVER", 8);
    Require(reply.kind != NameQueryReply::Found || size >= 12 + 34 + 10 + 6);
}

// A reply to `request` as a receiver would give it, but with the status, the flags and the words the
// input chooses: the fuzzer then reaches every stage without having to guess a whole valid reply.
size_t ComposeReply(const CByteWriter& request, CByteReader& input, unsigned char* reply, size_t room)
{
    CByteWriter out(reply, room);
    if (request.Data()[0] == kNbssRequest) {
        out.Bytes("\x82\0\0\0", 4);
        return out.Length();
    }
    unsigned long status = input.Byte() & 1 ? input.Uint32Le() : 0;
    unsigned words = input.Byte() % 4;
    out.Bytes("\0\0\0\0", 4);
    out.Bytes(request.Data() + 4, 5);   // protocol, command
    out.Uint32Le(status);
    out.Byte(0x80);
    out.Uint16Le(input.Uint16Le());     // flags2
    out.Bytes(request.Data() + 4 + 12, 20);   // the rest of the header, process ID among it
    out.Byte(words);
    for (unsigned i = 0; i < words; ++i)
        out.Uint16Le(input.Uint16Le());
    out.Uint16Le(0);
    out.PatchUint16Be(2, static_cast<unsigned>(out.Length() - kNbssHeaderLength));
    return out.Length();
}

// The input chooses each reply: a composed one, or raw bytes as the receiver's packet. Whatever they
// hold, every request is whole, the blocks carry the text in order, and the end comes only after all of it.
void CheckConversation(const uint8_t* data, size_t size)
{
    static const char text[] = "Whole or nothing: this text goes in three blocks of at most 127 bytes each, "
                               "so that the conversation has every stage to get through. 0123456789 "
                               "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ, and a few more.";
    const size_t textLength = sizeof text - 1;
    CMessageConversation conversation("RECEIVER", 8, "SENDER", 6, "user", 4,
                                      reinterpret_cast<const unsigned char*>(text), textLength, 0x2e9a);
    size_t taken = 0;
    CByteReader input(data, size);
    while (!conversation.Finished()) {
        unsigned char buffer[kSmbRequestRoom];
        CByteWriter out(buffer, sizeof buffer);
        conversation.WriteRequest(out);
        Require(!out.Failed());
        CByteReader request(out.Data(), out.Length());
        unsigned type = 0;
        size_t length = 0, block = 0;
        ReadNbssHeader(request, type, length);
        Require(length == request.Remaining() && length > 0);
        unsigned command = out.Length() > 8 ? out.Data()[8] : 0;
        if (type == kNbssMessage && command == kSmbSendText) {
            request.Skip(32 + 5);   // SMB header, word count, group, byte count
            Require(request.Byte() == 1);
            block = request.Uint16Le();
            Require(block > 0 && block <= kSmbTextBlock && taken + block <= textLength);
            Require(request.Matches(reinterpret_cast<const unsigned char*>(text) + taken, block));
            Require(request.Remaining() == 0);
        }
        if (type == kNbssMessage && command == kSmbSendEnd)
            Require(taken == textLength);

        unsigned char composed[64];
        const unsigned char* packet = composed;
        size_t packetLength = 0;
        if (input.Byte() & 1) {
            packetLength = ComposeReply(out, input, composed, sizeof composed);
        } else {
            packetLength = input.Uint16Be() % 600;
            packet = input.Bytes(packetLength);
        }
        if (input.Failed())
            return;
        CByteReader reply(packet, packetLength);
        ReadNbssHeader(reply, type, length);
        if (conversation.ReadReply(type, reply))
            taken += block;
        else
            Require(conversation.Finished() && conversation.Failed().kind != CMessageConversation::Failure::None);
    }
    Require(conversation.Failed().kind != CMessageConversation::Failure::None || taken == textLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckCommandLine(data, size);
    CheckAddress(data, size);
    CheckNameQueryReply(data, size);
    CheckConversation(data, size);
    return 0;
}
