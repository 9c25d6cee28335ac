// form/SendRequest.cpp: CSendRequest.
#include "form/SendRequest.h"

#include <string.h>

namespace {

// Both texts enter as arguments, never as part of the format, so a % in them passes through unchanged.
const char kParametersFormat[] = " send %s %s";

// Fills each %s of `format` with the next of `arguments`; with no `out`, only counts. Returns the length.
size_t FillFormat(char* out, const char* format, const char* const* arguments)
{
    size_t length = 0;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            size_t argumentLength = strlen(*arguments);
            if (out)
                memcpy(out + length, *arguments, argumentLength);
            length += argumentLength;
            ++arguments;
            ++p;
        } else {
            if (out)
                out[length] = *p;
            ++length;
        }
    }
    if (out)
        out[length] = '\0';
    return length;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

const size_t CSendRequest::MaxTextLength;

CSendRequest::CSendRequest(const char* machineName, const char* message)
    : m_machineName(machineName), m_message(message)
{
}

CSendRequest::Verdict CSendRequest::Check() const
{
    if (!*m_machineName || !*m_message)
        return EmptyField;
    for (const char* p = m_machineName; *p; ++p) {
        if (IsSpace(*p))
            return SpaceInMachineName;
        if (*p == '"')
            return QuoteInMachineName;
    }
    if (strlen(m_machineName) + strlen(m_message) > MaxTextLength)
        return TooLong;
    return Ready;
}

size_t CSendRequest::ParametersLength() const
{
    const char* arguments[] = { m_machineName, m_message };
    return FillFormat(nullptr, kParametersFormat, arguments);
}

void CSendRequest::ComposeParameters(char* parameters) const
{
    const char* arguments[] = { m_machineName, m_message };
    FillFormat(parameters, kParametersFormat, arguments);
}
