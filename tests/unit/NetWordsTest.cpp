// tests/unit/NetWordsTest.cpp: how net.exe's words are tidied and cut to fit a message box.
#include "form/NetWords.h"

#include <gtest/gtest.h>

#include <string>

static bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Blank lines, trailing spaces and line breaks of any kind tidied; what passes either limit cut, never inside
// a line break or a character, and the cut marked.
TEST(NetWords, TidiesAndCutsAtEitherLimitNeverInsideALineBreakOrACharacter)
{
    const struct {
        std::string text;
        size_t maxLines, maxBytes;
        bool shiftJis;
        std::string tidied;
    } cases[] = {
        { "", 20, 2000, false, "" }, { "\r\n \r\n\t\r\n", 20, 2000, false, "" }, { "one", 20, 2000, false, "one" },
        { "\r\n\r\none\r\n\r\n\r\n", 20, 2000, false, "one" }, { "abcd", 1, 4, false, "abcd" },
        { "one   \r\ntwo\t \r\n", 20, 2000, false, "one\r\ntwo" },
        { "one\r\n\r\n\r\n\r\ntwo", 20, 2000, false, "one\r\n\r\ntwo" },
        { "one\ntwo\rthree\r\n\nfour", 20, 2000, false, "one\r\ntwo\r\nthree\r\n\r\nfour" },
        { "  indented stays", 20, 2000, false, "  indented stays" }, { "1", 0, 2000, false, "[...]" },
        { std::string("a\0b\0\r\n\0\0\r\nc", 11), 20, 2000, false, "a b\r\n\r\nc" },   // NULs neither end nor show
        { "1\r\n2\r\n3\r\n\r\n", 3, 2000, false, "1\r\n2\r\n3" },   // within the limits: no mark
        { "1\r\n2\r\n3\r\n", 2, 2000, false, "1\r\n2\r\n[...]" }, { "abcdefgh", 20, 4, false, "abcd\r\n[...]" },
        { "1\r\n\r\n3\r\n", 2, 2000, false, "1\r\n[...]" },   // a blank line counts, and never precedes the mark
        { "ab  cd", 20, 4, false, "ab\r\n[...]" },          // nor a space
        { "ab\r\ncd", 20, 3, false, "ab\r\n[...]" },        // no room for the line break: no CR without LF
        { "ab\r\ncd", 20, 5, false, "ab\r\nc\r\n[...]" }, { "a\x82\xA0", 20, 2, true, "a\r\n[...]" },
        { "a\x82\xA0\x82\xA0", 20, 4, true, "a\x82\xA0\r\n[...]" },   // "\x82\xA0" is one character
        { std::string(100000, 'x'), 20, 2000, false, std::string(2000, 'x') + "\r\n[...]" },
    };
    for (const auto& c : cases) {
        std::string out(TidyNetWordsRoom(c.maxBytes), '#');
        size_t length = TidyNetWords(c.text.data(), c.text.size(), c.maxLines, c.maxBytes,
                                     c.shiftJis ? IsShiftJisLeadByte : nullptr, &out[0]);
        EXPECT_EQ('\0', out[length]) << "the text must end exactly at its reported length";
        EXPECT_EQ(c.tidied, out.substr(0, length)) << '[' << c.text.substr(0, 40) << ']';
    }
}
