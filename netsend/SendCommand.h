// netsend/SendCommand.h: what net.exe was asked to do, read from its command line as net.exe reads it.
#pragma once

#include <stddef.h>

struct SendCommand {
    enum Kind { Usage, Broadcast, Send } kind = Usage;   // Broadcast: *, /DOMAIN[:name] or /USERS
    const wchar_t* name = nullptr;
    size_t nameLength = 0;
    const wchar_t* message = nullptr;
    size_t messageLength = 0;
};

// From the whole command line, program first: "send", then NAME, the first word after it, and the
// message, everything after the one space or tab that follows NAME, exactly as given.
SendCommand ParseSendCommand(const wchar_t* commandLine);

// A dotted-decimal IPv4 address, four numbers of 0 to 255 and nothing else.
bool ParseIPv4(const char* text, size_t length, unsigned char address[4]);
