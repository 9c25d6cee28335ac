// tests/fuzz/NetReplyFuzz.cpp: feeds arbitrary replies to the conversation of the Wine prefix's net.exe. For each
// request the input picks one that accepts, one that refuses, or the accepting one XORed with the input, maybe cut or
// lengthened, so that every stage is reached without guessing a whole reply. Whatever the replies, every request is
// whole, the blocks carry the text in order, the end comes after all of it, and nothing follows a refusal.
#undef NDEBUG   // the assertions are the checks
#include "netsend/MessageConversation.h"
#include "netsend/NetBios.h"
#include "netsend/SmbMessage.h"

#include <assert.h>
#include <stdint.h>
#include <string.h>

using Failure = CMessageConversation::Failure;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CByteReader input(data, size);
    unsigned char text[300];   // three blocks, no two alike
    for (size_t i = 0; i < sizeof text; ++i)
        text[i] = static_cast<unsigned char>(i * 7 + 1);
    CMessageConversation conversation("RECEIVER", 8, "SENDER", 6, "user", 4, text, sizeof text, 0x2e9a);
    size_t taken = 0;
    int group = 0;
    while (!conversation.Finished()) {
        unsigned char request[kSmbRequestRoom] = {}, reply[600] = {};
        CByteWriter out(request, sizeof request);
        conversation.WriteRequest(out);
        size_t length = out.Length();
        assert(!out.Failed() && length > 4 && request[1] == 0 &&
               static_cast<size_t>(request[2] << 8 | request[3]) + 4 == length);
        // Text and end: headers, word count, group, byte count; then the text's format, length and bytes.
        unsigned command = request[0] == kNbssMessage ? request[8] : 0;
        size_t block = command == kSmbSendText ? request[42] | request[43] << 8 : 0;
        assert(command < kSmbSendEnd || (request[36] == 1 && (request[37] | request[38] << 8) == group));
        assert(command != kSmbSendEnd || taken == sizeof text);
        assert(command != kSmbSendText || (request[41] == 1 && block > 0 && block <= kSmbTextBlock &&
               length == 44 + block && taken + block <= sizeof text && memcmp(request + 44, text + taken, block) == 0));
        // Accepting: a positive session response, or the request's headers as a reply's with one word, the group
        // (which the start's sets), and no bytes. Refusing: a negative session response, or an error class.
        bool session = request[0] == kNbssRequest;
        unsigned how = input.Byte() % 3;   // accepting, refusing, garbled
        memcpy(reply, request, 36);
        reply[0] = session ? how == 1 ? kNbssNegative : kNbssPositive : kNbssMessage, reply[2] = 0;
        reply[3] = session ? how == 1 : 37, reply[9] = how == 1 ? input.Byte() | 1 : 0, reply[13] = 0x80;
        reply[36] = 1, reply[37] = input.Byte(), reply[38] = input.Byte();
        length = (4u + reply[3] + (how == 2 ? input.Uint16Be() : 0)) % sizeof reply;
        for (size_t i = 0; how == 2 && i < length; ++i)
            reply[i] ^= input.Byte();
        CByteReader in(reply, length);
        unsigned type = 0;
        ReadNbssHeader(in, type, length);
        bool read = conversation.ReadReply(type, in);
        assert((how == 2 || read == (how == 0)) &&
               (read || (conversation.Finished() && conversation.Failed().kind != Failure::None)));
        group = read && command == kSmbSendStart ? (reply[36] ? reply[37] | reply[38] << 8 : 0) : group;
        taken += read ? block : 0;
    }
    CByteWriter after(nullptr, 0);   // an ended conversation writes nothing more
    conversation.WriteRequest(after);
    assert(!after.Failed() && (conversation.Failed().kind != Failure::None || taken == sizeof text));
    return 0;
}
