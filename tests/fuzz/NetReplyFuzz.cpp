// tests/fuzz/NetReplyFuzz.cpp: feeds arbitrary replies to the conversation and the name queries of the Wine
// prefix's net.exe, and arbitrary command lines to its reading of them; checks what must hold for any input.
#undef NDEBUG   // the assertions are the checks
#include "netsend/MessageConversation.h"
#include "netsend/NetBios.h"
#include "netsend/SendCommand.h"
#include "netsend/SmbMessage.h"

#include <assert.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

// Each reply is the one a receiver would give, changed by the input: its bytes are XORed in, and it may be
// cut or lengthened, so that every stage is reached without guessing a whole reply. Whatever the replies
// hold, every request is whole, the blocks carry the text in order, and the end comes after all of it.
void CheckConversation(CByteReader input)
{
    unsigned char text[300];   // three blocks, no two alike
    for (size_t i = 0; i < sizeof text; ++i)
        text[i] = static_cast<unsigned char>(i * 7 + 1);
    CMessageConversation conversation("RECEIVER", 8, "SENDER", 6, "user", 4, text, sizeof text, 0x2e9a);
    size_t taken = 0;
    while (!conversation.Finished()) {
        unsigned char request[kSmbRequestRoom] = {}, reply[600] = {};
        CByteWriter out(request, sizeof request);
        conversation.WriteRequest(out);
        size_t length = out.Length(), block = 0;
        assert(!out.Failed() && length > 4 && request[1] == 0 &&
               static_cast<size_t>(request[2] << 8 | request[3]) + 4 == length);
        unsigned command = request[0] == kNbssMessage ? request[8] : 0;
        if (command == kSmbSendText) {   // headers, word count, group, byte count, format, length, the text
            block = request[42] | request[43] << 8;
            assert(request[41] == 1 && block > 0 && block <= kSmbTextBlock && taken + block <= sizeof text &&
                   length == 44 + block && memcmp(request + 44, text + taken, block) == 0);
        }
        assert(command != kSmbSendEnd || taken == sizeof text);
        // A positive session response, or the request's headers as a reply's with no words and no bytes.
        bool session = request[0] == kNbssRequest;
        memcpy(reply, request, 36);
        reply[0] = session ? kNbssPositive : kNbssMessage, reply[2] = 0, reply[3] = session ? 0 : 35, reply[13] = 0x80;
        length = ((session ? 4 : 39) + input.Uint16Be()) % sizeof reply;
        for (size_t i = 0; i < length; ++i)
            reply[i] ^= input.Byte();
        CByteReader in(reply, length);
        unsigned type = 0;
        ReadNbssHeader(in, type, length);
        bool read = conversation.ReadReply(type, in);
        taken += read ? block : 0;
        assert(read || (conversation.Finished() && conversation.Failed().kind != CMessageConversation::Failure::None));
    }
    assert(conversation.Failed().kind != CMessageConversation::Failure::None || taken == sizeof text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A command line up to its first NUL: a name with no blank in it, then the message after the one blank
    // that follows the name, to the end.
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    line = line.c_str();
    SendCommand command = ParseSendCommand(line.c_str());
    const wchar_t* name = command.name;
    assert(command.kind == SendCommand::Usage ||
           (name > line.c_str() && command.nameLength > 0 && wcscspn(name, L" \t") == command.nameLength &&
            command.message == name + command.nameLength + 1 && command.messageLength > 0 &&
            command.message + command.messageLength == line.c_str() + line.size()));

    // An address reads back the same from its own dotted form.
    unsigned char address[4], again[4];
    char dotted[16];
    if (ParseIPv4(reinterpret_cast<const char*>(data), size, address)) {
        snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
        assert(ParseIPv4(dotted, strlen(dotted), again) && memcmp(address, again, 4) == 0);
    }

    // A name found comes with a whole answer: header, question name, type to data length, one entry.
    CByteReader in(data, size);
    NameQueryReply reply = ReadNameQueryReply(in, size >= 2 ? (data[0] << 8u) | data[1] : 0, "RECEIVER", 8);
    assert(reply.kind != NameQueryReply::Found || size >= 12 + 34 + 10 + 6);

    // Our node status query made an answer, the input the rest: a name found is from the input, 15 bytes at most.
    std::vector<unsigned char> answer(54 + size);
    CByteWriter out(answer.data(), answer.size());
    WriteNodeStatusQuery(out, 0x27e9);
    out.PatchUint16Be(2, 0x8400), out.PatchUint16Be(6, 1), out.Zeros(4), out.Bytes(data, size);
    CByteReader status(answer.data(), answer.size());
    NodeStatusReply names = ReadNodeStatusReply(status, 0x27e9);
    assert(!out.Failed() && (names.kind != NameQueryReply::Found || (names.length > 0 && names.length <= 15 &&
           std::string(data, data + size).find(names.name, 0, names.length) != std::string::npos)));

    CheckConversation(CByteReader(data, size));
    return 0;
}
