// netsend/SmbMessage.cpp: composing the message commands and reading their replies.
#include "netsend/SmbMessage.h"

#include "netsend/NetBios.h"

namespace {

const unsigned char kProtocol[4] = { 0xFF, 'S', 'M', 'B' };
const unsigned kFlagsReply = 0x80;
const unsigned kFlags2NtStatus = 0x4000;

const unsigned kBufferFormatDialect = 0x01;   // a data block: 16-bit length, then the bytes
const unsigned kBufferFormatString = 0x04;    // a NUL-terminated string

// The session-service header with a length to fill in later, and the SMB header; returns where the
// session-service length is.
size_t BeginRequest(CByteWriter& out, unsigned command, unsigned pid)
{
    out.Byte(kNbssMessage);
    out.Byte(0);
    size_t lengthAt = out.Length();
    out.Uint16Be(0);
    out.Bytes(kProtocol, sizeof kProtocol);
    out.Byte(command);
    out.Zeros(4);      // status
    out.Byte(0);       // flags
    out.Uint16Le(0);   // flags2: OEM strings, DOS error codes
    out.Zeros(12);     // process ID (high), security features, reserved
    out.Uint16Le(0);   // tree ID
    out.Uint16Le(pid & 0xFFFF);
    out.Uint16Le(0);   // user ID
    out.Uint16Le(0);   // multiplex ID
    return lengthAt;
}

void EndRequest(CByteWriter& out, size_t lengthAt)
{
    out.PatchUint16Be(lengthAt, static_cast<unsigned>(out.Length() - kNbssHeaderLength));
}

void WriteString(CByteWriter& out, const char* text, size_t length)
{
    out.Byte(kBufferFormatString);
    out.Bytes(text, length < kSmbNameLength ? length : kSmbNameLength);
    out.Byte(0);
}

} // namespace

void WriteSendStart(CByteWriter& out, unsigned pid, const char* originator, size_t originatorLength,
                    const char* destination, size_t destinationLength)
{
    size_t lengthAt = BeginRequest(out, kSmbSendStart, pid);
    out.Byte(0);   // no parameter words
    size_t countAt = out.Length();
    out.Uint16Le(0);
    WriteString(out, originator, originatorLength);
    WriteString(out, destination, destinationLength);
    out.PatchUint16Le(countAt, static_cast<unsigned>(out.Length() - countAt - 2));
    EndRequest(out, lengthAt);
}

void WriteSendText(CByteWriter& out, unsigned pid, unsigned group, const unsigned char* text, size_t length)
{
    size_t lengthAt = BeginRequest(out, kSmbSendText, pid);
    out.Byte(1);
    out.Uint16Le(group);
    out.Uint16Le(static_cast<unsigned>(3 + length));
    out.Byte(kBufferFormatDialect);
    out.Uint16Le(static_cast<unsigned>(length));
    out.Bytes(text, length);
    EndRequest(out, lengthAt);
}

void WriteSendEnd(CByteWriter& out, unsigned pid, unsigned group)
{
    size_t lengthAt = BeginRequest(out, kSmbSendEnd, pid);
    out.Byte(1);
    out.Uint16Le(group);
    out.Uint16Le(0);
    EndRequest(out, lengthAt);
}

SmbReply ReadSmbReply(CByteReader& in, unsigned command, unsigned pid)
{
    SmbReply reply;
    bool protocol = in.Matches(kProtocol, sizeof kProtocol);
    unsigned replyCommand = in.Byte();
    unsigned long status = in.Uint32Le();
    unsigned flags = in.Byte();
    unsigned flags2 = in.Uint16Le();
    in.Skip(12 + 2);   // process ID (high), security features, reserved, tree ID
    unsigned replyPid = in.Uint16Le();
    in.Skip(4);        // user ID, multiplex ID
    if (in.Failed() || !protocol || replyCommand != command || !(flags & kFlagsReply) || replyPid != (pid & 0xFFFF))
        return reply;

    reply.status = status;
    reply.ntStatus = (flags2 & kFlags2NtStatus) != 0;
    if (status != 0) {
        // An error reply need carry nothing more.
        reply.kind = SmbReply::Refused;
        return reply;
    }
    unsigned words = in.Byte();
    unsigned group = 0;
    if (words > 0) {
        group = in.Uint16Le();
        in.Skip(2 * (words - 1));
    }
    in.Skip(in.Uint16Le());   // the data bytes
    if (in.Failed())
        return reply;
    reply.group = group;
    reply.kind = SmbReply::Ok;
    return reply;
}
