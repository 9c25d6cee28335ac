// netsend/NetSession.cpp: CNetSession.
#include "netsend/NetSession.h"

#include "netsend/NetBios.h"

namespace {

unsigned Seconds(DWORD ms)
{
    return static_cast<unsigned>((ms + 999) / 1000);
}

} // namespace

bool WaitForSocket(SOCKET s, bool write, DWORD ms)
{
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval wait = { static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000 };
    return ::select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &wait) > 0;
}

sockaddr_in SocketAddress(const unsigned char address[4], unsigned port)
{
    sockaddr_in to;
    ZeroMemory(&to, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<u_short>(port));
    CopyMemory(&to.sin_addr, address, 4);
    return to;
}

CNetSession::CNetSession(const CDeadline& deadline, const wchar_t* address, wchar_t* reason)
    : m_deadline(deadline), m_socket(::socket(AF_INET, SOCK_STREAM, 0)), m_address(address), m_reason(reason)
{
}

CNetSession::~CNetSession()
{
    if (m_socket != INVALID_SOCKET)
        ::closesocket(m_socket);
}

bool CNetSession::Connect(const unsigned char address[4], unsigned port)
{
    u_long nonBlocking = 1;
    sockaddr_in to = SocketAddress(address, port);
    if (m_socket == INVALID_SOCKET || ::ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0) {
        ::wsprintfW(m_reason, L"No connection could be made (Winsock error %d).", ::WSAGetLastError());
        return false;
    }
    int error = 0;
    if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        error = ::WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            DWORD allowed = m_deadline.Allowed(kStepTimeoutMs);
            if (!WaitForSocket(m_socket, true, allowed)) {
                ::wsprintfW(m_reason, L"Nobody answered at %s on port %u within %u seconds.", m_address, port,
                            Seconds(allowed));
                return false;
            }
            int length = sizeof error;
            ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
        }
    }
    if (error == WSAECONNREFUSED)
        ::wsprintfW(m_reason, L"%s refused the connection on port %u: nothing there receives messages.", m_address,
                    port);
    else if (error == WSAETIMEDOUT)
        ::wsprintfW(m_reason, L"Nobody answered at %s on port %u.", m_address, port);
    else if (error != 0)
        ::wsprintfW(m_reason, L"%s could not be reached on port %u (Winsock error %d).", m_address, port, error);
    return error == 0;
}

bool CNetSession::TimedOut(const wchar_t* what, DWORD allowed)
{
    if (allowed < kStepTimeoutMs)
        ::wsprintfW(m_reason, L"The receiver at %s %s before the time for the whole send ran out (%u seconds).",
                    m_address, what, Seconds(m_deadline.TotalMs()));
    else
        ::wsprintfW(m_reason, L"The receiver at %s %s within %u seconds.", m_address, what, Seconds(allowed));
    return false;
}

bool CNetSession::Receive(unsigned char* buffer, size_t length)
{
    while (length > 0) {
        DWORD allowed = m_deadline.Allowed(kStepTimeoutMs);
        if (!WaitForSocket(m_socket, false, allowed))
            return TimedOut(L"did not answer", allowed);
        int got = ::recv(m_socket, reinterpret_cast<char*>(buffer), length < 65536 ? static_cast<int>(length) : 65536, 0);
        if (got == 0) {
            ::wsprintfW(m_reason, L"The receiver at %s closed the connection before the message was delivered.",
                        m_address);
            return false;
        }
        if (got < 0) {
            if (::WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            ::wsprintfW(m_reason, L"The connection to %s failed (Winsock error %d).", m_address, ::WSAGetLastError());
            return false;
        }
        buffer += got;
        length -= static_cast<size_t>(got);
    }
    return true;
}

bool CNetSession::Exchange(const CByteWriter& request)
{
    const unsigned char* data = request.Data();
    size_t left = request.Length();
    while (left > 0) {
        DWORD allowed = m_deadline.Allowed(kStepTimeoutMs);
        if (!WaitForSocket(m_socket, true, allowed))
            return TimedOut(L"took nothing more", allowed);
        int sent = ::send(m_socket, reinterpret_cast<const char*>(data), static_cast<int>(left), 0);
        if (sent < 0 && ::WSAGetLastError() != WSAEWOULDBLOCK) {
            ::wsprintfW(m_reason, L"The connection to %s failed (Winsock error %d).", m_address, ::WSAGetLastError());
            return false;
        }
        if (sent > 0) {
            data += sent;
            left -= static_cast<size_t>(sent);
        }
    }

    for (;;) {
        unsigned char header[kNbssHeaderLength];
        if (!Receive(header, sizeof header))
            return false;
        CByteReader in(header, sizeof header);
        ReadNbssHeader(in, m_replyType, m_replyLength);
        if (m_replyLength > sizeof m_reply) {
            ::wsprintfW(m_reason, L"The receiver at %s answered with something that is not a message reply.",
                        m_address);
            return false;
        }
        if (!Receive(m_reply, m_replyLength))
            return false;
        if (m_replyType != kNbssKeepAlive)
            return true;
    }
}
