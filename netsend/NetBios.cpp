// netsend/NetBios.cpp: NetBIOS names, name and node status queries, and session requests.
#include "netsend/NetBios.h"

#include "netsend/SendCommand.h"

namespace {

const unsigned kEncodedNameLength = 32;
const size_t kWireNameLength = 1 + kEncodedNameLength + 1;

// Name service header flags.
const unsigned kResponse = 0x8000;
const unsigned kOpcodeMask = 0x7800;
const unsigned kRecursionDesired = 0x0100;
const unsigned kBroadcast = 0x0010;
const unsigned kRcodeMask = 0x000F;

const unsigned kTypeNb = 0x0020;
const unsigned kTypeNbstat = 0x0021;
const unsigned kClassIn = 0x0001;

// A node status query asks about "*", padded with NULs rather than spaces.
const char kAnyName[kNetBiosNameLength] = "*";
const unsigned kAnyNameSuffix = 0x00;
// Node status name flags.
const unsigned kGroupName = 0x8000;

void WriteQuestion(CByteWriter& out, unsigned id, unsigned flags, const char* name, size_t length, unsigned suffix,
                   unsigned type)
{
    out.Uint16Be(id);
    out.Uint16Be(flags);
    out.Uint16Be(1);   // one question
    out.Zeros(6);      // no answers, authorities or additional records
    WriteNetBiosName(out, name, length, suffix);
    out.Uint16Be(type);
    out.Uint16Be(kClassIn);
}

// The answer to the question that WriteQuestion asks: Found with its record's data, all of it, in `data`; NotFound
// when it says there is no such name; otherwise NotOurs.
NameQueryReply::Kind ReadAnswer(CByteReader& in, unsigned id, const char* name, size_t length, unsigned suffix,
                                unsigned type, CByteReader& data)
{
    unsigned replyId = in.Uint16Be();
    unsigned flags = in.Uint16Be();
    in.Skip(2);   // questions
    unsigned answers = in.Uint16Be();
    in.Skip(4);   // authorities, additional records
    if (in.Failed() || replyId != id || !(flags & kResponse) || (flags & kOpcodeMask) != 0)
        return NameQueryReply::NotOurs;
    if (flags & kRcodeMask)
        return NameQueryReply::NotFound;

    unsigned char expected[kWireNameLength];
    CByteWriter expectedName(expected, sizeof expected);
    WriteNetBiosName(expectedName, name, length, suffix);
    bool ours = in.Matches(expected, sizeof expected);
    unsigned replyType = in.Uint16Be();
    unsigned klass = in.Uint16Be();
    in.Skip(4);   // time to live
    size_t dataLength = in.Uint16Be();
    data = CByteReader(in.Bytes(dataLength), dataLength);
    if (in.Failed() || answers == 0 || !ours || replyType != type || klass != kClassIn)
        return NameQueryReply::NotOurs;
    return NameQueryReply::Found;
}

} // namespace

void WriteNetBiosName(CByteWriter& out, const char* name, size_t length, unsigned suffix)
{
    out.Byte(kEncodedNameLength);
    for (size_t i = 0; i <= kNetBiosNameLength; ++i) {
        unsigned c = i == kNetBiosNameLength ? suffix : i < length ? static_cast<unsigned char>(name[i]) : ' ';
        out.Byte('A' + ((c >> 4) & 0xF));
        out.Byte('A' + (c & 0xF));
    }
    out.Byte(0);
}

size_t NetBiosNameOf(const char* target, size_t length, char name[kNetBiosNameLength])
{
    unsigned char address[4];
    bool isAddress = ParseIPv4(target, length, address);
    size_t n = 0;
    for (; n < length && (isAddress || target[n] != '.'); ++n) {
        if (n == kNetBiosNameLength)
            return 0;
        char c = target[n];
        name[n] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return n;
}

void WriteNameQuery(CByteWriter& out, unsigned id, const char* name, size_t length, bool broadcast)
{
    WriteQuestion(out, id, broadcast ? kRecursionDesired | kBroadcast : kRecursionDesired, name, length,
                  kMessengerSuffix, kTypeNb);
}

NameQueryReply ReadNameQueryReply(CByteReader& in, unsigned id, const char* name, size_t length)
{
    NameQueryReply reply;
    CByteReader data(nullptr, 0);
    reply.kind = ReadAnswer(in, id, name, length, kMessengerSuffix, kTypeNb, data);
    if (reply.kind != NameQueryReply::Found)
        return reply;
    size_t entries = data.Remaining();
    data.Skip(2);   // the first entry's flags
    for (unsigned char& byte : reply.address)
        byte = static_cast<unsigned char>(data.Byte());
    if (data.Failed() || entries % 6 != 0)
        return NameQueryReply();
    return reply;
}

void WriteNodeStatusQuery(CByteWriter& out, unsigned id)
{
    WriteQuestion(out, id, 0, kAnyName, sizeof kAnyName, kAnyNameSuffix, kTypeNbstat);
}

NodeStatusReply ReadNodeStatusReply(CByteReader& in, unsigned id)
{
    NodeStatusReply reply;
    CByteReader data(nullptr, 0);
    reply.kind = ReadAnswer(in, id, kAnyName, sizeof kAnyName, kAnyNameSuffix, kTypeNbstat, data);
    if (reply.kind != NameQueryReply::Found)
        return reply;
    unsigned count = data.Byte();
    for (unsigned i = 0; i < count && !data.Failed(); ++i) {   // each its name, suffix and flags
        CByteReader name(data.Bytes(kNetBiosNameLength), kNetBiosNameLength);
        unsigned suffix = data.Byte();
        bool unique = !(data.Uint16Be() & kGroupName);
        if (reply.length == 0 && suffix == kMessengerSuffix && unique) {
            for (char& c : reply.name)
                c = static_cast<char>(name.Byte());
            for (reply.length = kNetBiosNameLength; reply.length > 0 && reply.name[reply.length - 1] == ' ';)
                --reply.length;
        }
    }
    if (data.Failed())
        return NodeStatusReply();
    reply.kind = reply.length ? NameQueryReply::Found : NameQueryReply::NotFound;
    return reply;
}

void ReadNbssHeader(CByteReader& in, unsigned& type, size_t& length)
{
    type = in.Byte();
    unsigned flags = in.Byte();
    length = in.Uint16Be() | (static_cast<size_t>(flags & 1) << 16);
}

void WriteSessionRequest(CByteWriter& out, const char* called, size_t calledLength, const char* calling,
                         size_t callingLength)
{
    out.Byte(kNbssRequest);
    out.Byte(0);
    out.Uint16Be(2 * kWireNameLength);
    WriteNetBiosName(out, called, calledLength, kMessengerSuffix);
    WriteNetBiosName(out, calling, callingLength, kWorkstationSuffix);
}

SessionReply ReadSessionReply(unsigned type, CByteReader& body)
{
    SessionReply reply;
    switch (type) {
    case kNbssPositive:
        reply.kind = SessionReply::Accepted;
        break;
    case kNbssNegative:
        reply.error = body.Byte();
        reply.kind = SessionReply::Refused;
        break;
    case kNbssRetarget:
        body.Skip(6);   // the address and port to try instead
        reply.kind = SessionReply::Retargeted;
        break;
    default:
        return reply;
    }
    if (body.Failed() || body.Remaining() != 0)
        reply.kind = SessionReply::Malformed;
    return reply;
}
