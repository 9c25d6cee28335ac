// tests/unit/FormTest.cpp: the form's pieces that need no window: how net.exe's words are tidied and cut to fit a
// message box, and which requests can be sent, and why the others cannot.
#include "form/NetWords.h"
#include "form/SendRequest.h"

#include <gtest/gtest.h>

#include <string>

static bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Blank lines, trailing spaces and line breaks of any kind tidied; what passes either limit cut, and the cut marked.
TEST(NetWords, TidiesAndCutsAtEitherLimitNeverInsideALineBreakOrACharacter)
{
    const struct { std::string text, tidied; size_t maxLines = 20, maxBytes = 2000; bool shiftJis = false; } cases[] = {
        { "", "" }, { "\r\n \r\n\t\r\n", "" }, { "\r\n\r\none\r\n\r\n\r\n", "one" }, { "abcd", "abcd", 1, 4 },
        { "one   \r\ntwo\t \r\n", "one\r\ntwo" }, { "one\r\n\r\n\r\n\r\ntwo", "one\r\n\r\ntwo" },
        { "one\ntwo\rthree\r\n\nfour", "one\r\ntwo\r\nthree\r\n\r\nfour" }, { "  indented stays", "  indented stays" },
        { "1", "[...]", 0 }, { std::string("a\0b\0\r\n\0\0\r\nc", 11), "a b\r\n\r\nc" },   // NULs neither end nor show
        { "1\r\n2\r\n3\r\n\r\n", "1\r\n2\r\n3", 3 },   // within the limits: no mark
        { "1\r\n2\r\n3\r\n", "1\r\n2\r\n[...]", 2 }, { "abcdefgh", "abcd\r\n[...]", 20, 4 },
        { "1\r\n\r\n3\r\n", "1\r\n[...]", 2 },   // a blank line counts, and never precedes the mark
        { "ab  cd", "ab\r\n[...]", 20, 4 },      // nor a space
        { "ab\r\ncd", "ab\r\n[...]", 20, 3 },    // no room for the line break: no CR without LF
        { "ab\r\ncd", "ab\r\nc\r\n[...]", 20, 5 }, { "a\x82\xA0", "a\r\n[...]", 20, 2, true },
        { "a\x82\xA0\x82\xA0", "a\x82\xA0\r\n[...]", 20, 4, true },   // "\x82\xA0" is one character
        { std::string(100000, 'x'), std::string(2000, 'x') + "\r\n[...]" },
    };
    for (const auto& c : cases) {
        std::string out(TidyNetWordsRoom(c.maxBytes), '#');
        size_t length = TidyNetWords(c.text.data(), c.text.size(), c.maxLines, c.maxBytes,
                                     c.shiftJis ? IsShiftJisLeadByte : nullptr, &out[0]);
        EXPECT_EQ('\0', out[length]) << "the text must end exactly at its reported length";
        EXPECT_EQ(c.tidied, out.substr(0, length)) << '[' << c.text.substr(0, 40) << ']';
    }
}

TEST(SendRequest, RefusesWhatTheCommandLineCouldNotCarryAsTyped)
{
    using R = CSendRequest;
    const std::string longest(R::MaxTextLength - 4, 'm');   // with "PC12", right at the limit
    const struct { std::string machine, message; R::Verdict verdict; } cases[] = {
        { "PC12", "", R::EmptyField }, { "", "hello", R::EmptyField }, { "   ", "hello", R::SpaceInMachineName },
        { "PC\t12", "x", R::SpaceInMachineName }, { "PC\r12", "x", R::SpaceInMachineName },
        { "PC12\n", "x", R::SpaceInMachineName }, { "PC\v12", "x", R::SpaceInMachineName },
        { "PC\f12", "x", R::SpaceInMachineName }, { "PC\"12", "hello", R::QuoteInMachineName },
        { "PC12", longest + "m", R::TooLong }, { "PC12", longest, R::Ready },
        // Targets net send understands, and messages with anything in them, go as they are.
        { "*", "x", R::Ready }, { "/DOMAIN:NAME", "x", R::Ready }, { "PC12", " say \"hi\"\r\n\t100% ", R::Ready },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.verdict, R(c.machine.c_str(), c.message.c_str()).Check())
            << '[' << c.machine << "] [" << c.message.substr(0, 40) << ']';
}
