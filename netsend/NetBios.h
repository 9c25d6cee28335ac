// netsend/NetBios.h: the NetBIOS steps of sending a message: names, the name and node status queries and the
// session request.
#pragma once

#include "netsend/ByteReader.h"
#include "netsend/ByteWriter.h"

#include <stddef.h>

const size_t kNetBiosNameLength = 15;   // a 16th byte, the suffix, says what the name stands for
const unsigned kMessengerSuffix = 0x03;
const unsigned kWorkstationSuffix = 0x00;
const unsigned kNameServicePort = 137;

// NAME<suffix> in first-level encoding: at most 15 bytes of the name (padded with spaces), then the
// suffix, each byte as two letters, with the length byte in front and the empty scope behind.
void WriteNetBiosName(CByteWriter& out, const char* name, size_t length, unsigned suffix);

// The NetBIOS name of a machine named `target` (OEM text): an IPv4 address as it is, otherwise the
// host part of a DNS name in upper case. Returns its length: 0 when that is longer than 15 bytes.
size_t NetBiosNameOf(const char* target, size_t length, char name[kNetBiosNameLength]);

// A name query for NAME<03>: to a name server, asking it to look further, or as a broadcast.
void WriteNameQuery(CByteWriter& out, unsigned id, const char* name, size_t length, bool broadcast);

struct NameQueryReply {
    enum Kind { Found, NotFound, NotOurs } kind = NotOurs;   // NotOurs: another query's, or not valid
    unsigned char address[4] = {};
};
NameQueryReply ReadNameQueryReply(CByteReader& in, unsigned id, const char* name, size_t length);

// A node status query, sent to a machine's address: which names does it have?
void WriteNodeStatusQuery(CByteWriter& out, unsigned id);

// Of the answer, the machine's messenger name: its unique name with the suffix 03.
struct NodeStatusReply {
    NameQueryReply::Kind kind = NameQueryReply::NotOurs;   // NotFound: ours, without such a name
    char name[kNetBiosNameLength] = {};
    size_t length = 0;   // without the spaces that pad it
};
NodeStatusReply ReadNodeStatusReply(CByteReader& in, unsigned id);

// The session service: every packet has a 4-byte header, its type and the length of what follows.
enum NbssType {
    kNbssMessage = 0x00,
    kNbssRequest = 0x81,
    kNbssPositive = 0x82,
    kNbssNegative = 0x83,
    kNbssRetarget = 0x84,
    kNbssKeepAlive = 0x85
};
const size_t kNbssHeaderLength = 4;
void ReadNbssHeader(CByteReader& in, unsigned& type, size_t& length);

// A session request from CALLING<00> to CALLED<03>, where messages are received.
void WriteSessionRequest(CByteWriter& out, const char* called, size_t calledLength, const char* calling,
                         size_t callingLength);

struct SessionReply {
    enum Kind { Accepted, Refused, Retargeted, Malformed } kind = Malformed;
    unsigned error = 0;   // of a refusal: 0x80 not listening on the called name, 0x82 name not present, ...
};
// The answer to a session request, from its header's type and the `length` bytes that follow.
SessionReply ReadSessionReply(unsigned type, CByteReader& body);
