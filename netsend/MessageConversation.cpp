// netsend/MessageConversation.cpp: CMessageConversation.
#include "netsend/MessageConversation.h"

#include "netsend/NetBios.h"
#include "netsend/SmbMessage.h"

CMessageConversation::CMessageConversation(const char* called, size_t calledLength, const char* calling,
                                           size_t callingLength, const char* originator, size_t originatorLength,
                                           const unsigned char* text, size_t textLength, unsigned pid)
    : m_called(called), m_calledLength(calledLength), m_calling(calling), m_callingLength(callingLength),
      m_originator(originator), m_originatorLength(originatorLength), m_text(text, textLength), m_pid(pid)
{
}

void CMessageConversation::WriteRequest(CByteWriter& out) const
{
    switch (m_stage) {
    case Session:
        WriteSessionRequest(out, m_called, m_calledLength, m_calling, m_callingLength);
        break;
    case Start:
        WriteSendStart(out, m_pid, m_originator, m_originatorLength, m_called, m_calledLength);
        break;
    case Text: {
        // The next block is read from a copy: the text moves on only once the receiver has taken it.
        CByteReader text = m_text;
        size_t length = text.Remaining() < kSmbTextBlock ? text.Remaining() : kSmbTextBlock;
        WriteSendText(out, m_pid, m_group, text.Bytes(length), length);
        break;
    }
    case End:
        WriteSendEnd(out, m_pid, m_group);
        break;
    case Done:
        break;
    }
}

bool CMessageConversation::ReadReply(unsigned type, CByteReader& body)
{
    if (m_stage == Session) {
        SessionReply reply = ReadSessionReply(type, body);
        switch (reply.kind) {
        case SessionReply::Accepted:
            m_stage = Start;
            return true;
        case SessionReply::Refused:
            m_failure.error = reply.error;
            return Fail(Failure::SessionRefused);
        case SessionReply::Retargeted:
            return Fail(Failure::SessionRetargeted);
        case SessionReply::Malformed:
            break;
        }
        return Fail(Failure::NotASessionReply);
    }
    if (m_stage == Done)
        return false;

    static const unsigned commands[] = { 0, kSmbSendStart, kSmbSendText, kSmbSendEnd };
    SmbReply reply = type == kNbssMessage ? ReadSmbReply(body, commands[m_stage], m_pid) : SmbReply();
    if (reply.kind == SmbReply::Refused) {
        m_failure.status = reply.status;
        m_failure.ntStatus = reply.ntStatus;
        return Fail(Failure::MessageRefused);
    }
    if (reply.kind == SmbReply::Malformed)
        return Fail(Failure::NotAMessageReply);

    if (m_stage == Start)
        m_group = reply.group;
    else if (m_stage == Text)
        m_text.Skip(m_text.Remaining() < kSmbTextBlock ? m_text.Remaining() : kSmbTextBlock);
    if (m_stage == End)
        m_stage = Done;
    else if (m_text.Remaining() > 0)
        m_stage = Text;
    else
        m_stage = End;
    return true;
}

bool CMessageConversation::Fail(Failure::Kind kind)
{
    m_failure.kind = kind;
    m_stage = Done;
    return false;
}
