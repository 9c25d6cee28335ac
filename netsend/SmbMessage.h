// netsend/SmbMessage.h: the SMB commands that carry a message, and the reading of their replies.
// A message goes as start (originator and destination), text blocks, end: the single-block command
// is not used, since Samba's smbd takes it only after a protocol negotiation and drops the connection.
#pragma once

#include "netsend/ByteReader.h"
#include "netsend/ByteWriter.h"

#include <stddef.h>

enum SmbCommand {
    kSmbSendStart = 0xD5,
    kSmbSendEnd = 0xD6,
    kSmbSendText = 0xD7
};

// Text per block, as Samba's own client sends it; the receiver joins the blocks.
const size_t kSmbTextBlock = 127;
// Originator and destination names, without their terminating NUL.
const size_t kSmbNameLength = 15;
// Room for any one request, session-service header included.
const size_t kSmbRequestRoom = 64 + 2 * (kSmbNameLength + 2) + kSmbTextBlock;

// Each is a whole session-service message, from process `pid` (its low 16 bits tie a reply to us; one
// request at a time needs no multiplex ID). Names are OEM text, cut to kSmbNameLength bytes.
void WriteSendStart(CByteWriter& out, unsigned pid, const char* originator, size_t originatorLength,
                    const char* destination, size_t destinationLength);
void WriteSendText(CByteWriter& out, unsigned pid, unsigned group, const unsigned char* text, size_t length);
void WriteSendEnd(CByteWriter& out, unsigned pid, unsigned group);

struct SmbReply {
    enum Kind { Ok, Refused, Malformed } kind = Malformed;
    unsigned long status = 0;   // as sent: an NT status, or a DOS error class in the low byte, code in the high 16 bits
    bool ntStatus = false;
    unsigned group = 0;         // of a start reply; Samba's has none, which means 0
};
// The reply to `command` sent by `pid`, from the bytes of a session message (after its header).
SmbReply ReadSmbReply(CByteReader& in, unsigned command, unsigned pid);
