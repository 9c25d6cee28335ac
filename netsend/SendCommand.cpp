// netsend/SendCommand.cpp: reading the command line.
#include "netsend/SendCommand.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

const wchar_t* WordEnd(const wchar_t* p)
{
    while (*p && !IsBlank(*p))
        ++p;
    return p;
}

wchar_t Upper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Whether the text from `begin` to `end` is `word` (upper-case ASCII), ignoring case; with `prefix`,
// whether it begins with it.
bool IsWord(const wchar_t* begin, const wchar_t* end, const char* word, bool prefix = false)
{
    for (; *word; ++word, ++begin)
        if (begin == end || Upper(*begin) != static_cast<wchar_t>(*word))
            return false;
    return prefix || begin == end;
}

// The program's name ends at the first blank outside quotation marks.
const wchar_t* SkipProgram(const wchar_t* p)
{
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p)
        if (*p == L'"')
            quoted = !quoted;
    return p;
}

} // namespace

SendCommand ParseSendCommand(const wchar_t* commandLine)
{
    SendCommand command;
    if (!commandLine)
        return command;
    const wchar_t* verb = SkipBlanks(SkipProgram(commandLine));
    const wchar_t* verbEnd = WordEnd(verb);
    if (!IsWord(verb, verbEnd, "SEND"))
        return command;

    const wchar_t* name = SkipBlanks(verbEnd);
    const wchar_t* nameEnd = WordEnd(name);
    if (name == nameEnd || !*nameEnd || !nameEnd[1])
        return command;   // no name, or no message
    command.name = name;
    command.nameLength = static_cast<size_t>(nameEnd - name);
    command.message = nameEnd + 1;
    for (const wchar_t* p = command.message; *p; ++p)
        ++command.messageLength;

    if ((nameEnd - name == 1 && *name == L'*') || IsWord(name, nameEnd, "/USERS") ||
        IsWord(name, nameEnd, "/DOMAIN") || IsWord(name, nameEnd, "/DOMAIN:", true))
        command.kind = SendCommand::Broadcast;
    else if (*name != L'/')   // any other switch is one net.exe does not know
        command.kind = SendCommand::Send;
    return command;
}

bool ParseIPv4(const char* text, size_t length, unsigned char address[4])
{
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && (i >= length || text[i++] != '.'))
            return false;
        unsigned value = 0;
        size_t digits = 0;
        for (; i < length && text[i] >= '0' && text[i] <= '9' && digits < 4; ++i, ++digits)
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        address[part] = static_cast<unsigned char>(value);
    }
    return i == length;
}
