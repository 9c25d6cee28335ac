// netsend/MessageConversation.h: CMessageConversation: the requests that deliver one message over a NetBIOS
// session, each checked against its reply; the caller only carries them over the connection.
#pragma once

#include "netsend/ByteReader.h"
#include "netsend/ByteWriter.h"

#include <stddef.h>

class CMessageConversation {
public:
    struct Failure {
        enum Kind {
            None,
            SessionRefused,      // `error` says why
            SessionRetargeted,   // the receiver asked to be reached elsewhere
            NotASessionReply,
            MessageRefused,      // `status` (an NT status when `ntStatus`) says why
            NotAMessageReply
        } kind = None;
        unsigned error = 0;
        unsigned long status = 0;
        bool ntStatus = false;
    };

    // All text is OEM; it must outlive the conversation. The called name is where the message goes,
    // the calling name this machine's, the originator the sender.
    CMessageConversation(const char* called, size_t calledLength, const char* calling, size_t callingLength,
                         const char* originator, size_t originatorLength, const unsigned char* text, size_t textLength,
                         unsigned pid);

    bool Finished() const { return m_stage == Done; }
    const Failure& Failed() const { return m_failure; }

    // Writes the next request, a whole session-service packet, in at most kSmbRequestRoom bytes.
    void WriteRequest(CByteWriter& out) const;
    // Reads the answer to that request: a packet of `type` with these bytes. False when it ends the
    // conversation with a failure.
    bool ReadReply(unsigned type, CByteReader& body);

private:
    enum Stage { Session, Start, Text, End, Done };

    bool Fail(Failure::Kind kind);

    const char* m_called;
    size_t m_calledLength;
    const char* m_calling;
    size_t m_callingLength;
    const char* m_originator;
    size_t m_originatorLength;
    CByteReader m_text;
    unsigned m_pid;
    unsigned m_group = 0;
    Stage m_stage = Session;
    Failure m_failure;
};
