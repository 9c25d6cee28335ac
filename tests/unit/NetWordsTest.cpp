// tests/unit/NetWordsTest.cpp: how net.exe's words are tidied and cut to fit a message box.
#include "form/NetWords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Shift JIS: the lead bytes of double-byte characters.
bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string Tidy(const std::string& text, size_t maxLines = 20, size_t maxBytes = 2000, bool shiftJis = false)
{
    std::string out(TidyNetWordsRoom(maxBytes), '#');
    size_t length = TidyNetWords(text.data(), text.size(), maxLines, maxBytes, shiftJis ? IsShiftJisLeadByte : nullptr,
                                 &out[0]);
    EXPECT_EQ('\0', out[length]) << "the text must end exactly at its reported length";
    return out.substr(0, length);
}

} // namespace

TEST(NetWords, TidiesBlankLinesSpacesAndLineBreaks)
{
    const struct {
        std::string text;
        const char* tidied;
    } cases[] = {
        { "", "" }, { "\r\n \r\n\t\r\n", "" }, { "one", "one" }, { "\r\n\r\none\r\n\r\n\r\n", "one" },
        { "one   \r\ntwo\t \r\n", "one\r\ntwo" }, { "one\r\n\r\n\r\n\r\ntwo", "one\r\n\r\ntwo" },
        { "one\ntwo\rthree\r\n\nfour", "one\r\ntwo\r\nthree\r\n\r\nfour" }, { "  indented stays", "  indented stays" },
        // NULs neither end the text nor show.
        { std::string("a\0b\0\r\n\0\0\r\nc", 11), "a b\r\n\r\nc" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tidied, Tidy(c.text)) << '[' << c.text << ']';
}

TEST(NetWords, CutsAtEitherLimitNeverInsideALineBreakOrACharacterAndMarksTheCut)
{
    const struct {
        std::string text;
        size_t maxLines, maxBytes;
        bool shiftJis;
        std::string tidied;
    } cases[] = {
        { "1\r\n2\r\n3\r\n\r\n", 3, 2000, false, "1\r\n2\r\n3" },   // within the limits: no mark
        { "abcd", 1, 4, false, "abcd" },
        { "1\r\n2\r\n3\r\n", 2, 2000, false, "1\r\n2\r\n[...]" },
        { "1\r\n\r\n3\r\n", 2, 2000, false, "1\r\n[...]" },          // a blank line counts, and never precedes the mark
        { "1", 0, 2000, false, "[...]" },
        { "abcdefgh", 20, 4, false, "abcd\r\n[...]" },
        { "ab  cd", 20, 4, false, "ab\r\n[...]" },                    // nor a space
        { "ab\r\ncd", 20, 3, false, "ab\r\n[...]" },                  // no room for the line break: no CR without LF
        { "ab\r\ncd", 20, 5, false, "ab\r\nc\r\n[...]" },
        { "a\x82\xA0\x82\xA0", 20, 4, true, "a\x82\xA0\r\n[...]" },   // "\x82\xA0" is one character
        { "a\x82\xA0", 20, 2, true, "a\r\n[...]" },
        { std::string(100000, 'x'), 20, 2000, false, std::string(2000, 'x') + "\r\n[...]" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tidied, Tidy(c.text, c.maxLines, c.maxBytes, c.shiftJis)) << '[' << c.text.substr(0, 40) << ']';
}
