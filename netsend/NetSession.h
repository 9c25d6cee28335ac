// netsend/NetSession.h: CNetSession: a TCP connection to a NetBIOS session service that carries one
// request at a time and reads the packet that answers it, every step within its time.
#pragma once

#include "netsend/ByteReader.h"
#include "netsend/ByteWriter.h"
#include "netsend/Deadline.h"

#include <winsock2.h>

// Waits until the socket can be read (or written); false when `ms` passed first.
bool WaitForSocket(SOCKET s, bool write, DWORD ms);
sockaddr_in SocketAddress(const unsigned char address[4], unsigned port);

class CNetSession {
public:
    // `address` is the receiver's, as text for the reasons; a failure's reason goes to `reason`.
    CNetSession(const CDeadline& deadline, const wchar_t* address, wchar_t* reason);
    ~CNetSession();
    CNetSession(const CNetSession&) = delete;
    CNetSession& operator=(const CNetSession&) = delete;

    bool Connect(const unsigned char address[4], unsigned port);
    // Sends one request, then reads the packet that answers it (keep-alives skipped).
    bool Exchange(const CByteWriter& request);

    unsigned ReplyType() const { return m_replyType; }
    CByteReader Reply() const { return CByteReader(m_reply, m_replyLength); }
    const wchar_t* Address() const { return m_address; }
    wchar_t* Reason() { return m_reason; }

private:
    bool Receive(unsigned char* buffer, size_t length);
    // Says that the receiver `what` (did not answer, ...) in the time `allowed`; returns false.
    bool TimedOut(const wchar_t* what, DWORD allowed);

    const CDeadline& m_deadline;
    SOCKET m_socket;
    const wchar_t* m_address;
    wchar_t* m_reason;
    unsigned m_replyType = 0;
    unsigned char m_reply[4096];
    size_t m_replyLength = 0;
};
