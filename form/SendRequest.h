// form/SendRequest.h: checks what the user asked to send and composes net.exe's parameters.
// Needs no window and no Windows header, so it is also built and tested natively.
#pragma once

#include <stddef.h>

class CSendRequest
{
public:
    enum Verdict {
        Ready,
        EmptyField,            // the machine name or the message is empty
        SpaceInMachineName,    // would split the name into several arguments
        QuoteInMachineName,    // would change how the command line is split
        TooLong                // the command line could not carry it whole
    };

    // Longest machine name and message together, in bytes. The system's command lines hold
    // 32,767 characters; this leaves room for the quoted path of net.exe and the word send.
    static const size_t MaxTextLength = 32000;

    CSendRequest(const char* machineName, const char* message);

    Verdict Check() const;

    // Length of the parameters in bytes, without the terminating NUL.
    size_t ParametersLength() const;

    // Writes the parameters and a NUL; `parameters` holds ParametersLength() + 1 bytes.
    void ComposeParameters(char* parameters) const;

private:
    const char* m_machineName;
    const char* m_message;
};
