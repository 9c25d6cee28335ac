// tests/unit/NetWordsTest.cpp: how net.exe's words are tidied and cut to fit a message box.
#include "form/NetWords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Tidy(const std::string& text, size_t maxLines = 20, size_t maxBytes = 2000,
                 bool (*isLeadByte)(unsigned char) = nullptr)
{
    std::string out(TidyNetWordsRoom(maxBytes), '#');
    size_t length = TidyNetWords(text.data(), text.size(), maxLines, maxBytes, isLeadByte, &out[0]);
    EXPECT_EQ('\0', out[length]) << "the text must end exactly at its reported length";
    return out.substr(0, length);
}

// Shift JIS: the lead bytes of double-byte characters.
bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

TEST(NetWords, TidiesBlankLinesSpacesAndLineBreaks)
{
    const struct {
        const char* text;
        const char* tidied;
    } cases[] = {
        { "", "" },
        { "\r\n \r\n\t\r\n", "" },
        { "one", "one" },
        { "\r\n\r\none\r\n\r\n\r\n", "one" },
        { "one   \r\ntwo\t \r\n", "one\r\ntwo" },
        { "one\r\n\r\n\r\n\r\ntwo", "one\r\n\r\ntwo" },
        { "one\ntwo\rthree\r\n\nfour", "one\r\ntwo\r\nthree\r\n\r\nfour" },
        { "  indented stays", "  indented stays" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tidied, Tidy(c.text)) << '[' << c.text << ']';
}

TEST(NetWords, NulBytesNeitherEndTheTextNorShow)
{
    EXPECT_EQ("a b\r\n\r\nc", Tidy(std::string("a\0b\0\r\n\0\0\r\nc", 11)));
}

TEST(NetWords, CutsAtTheLineLimitAndMarksTheCut)
{
    EXPECT_EQ("1\r\n2\r\n3", Tidy("1\r\n2\r\n3\r\n\r\n", 3));
    EXPECT_EQ("1\r\n2\r\n[...]", Tidy("1\r\n2\r\n3\r\n", 2));
    // A blank line counts, and a cut never leaves one before the mark.
    EXPECT_EQ("1\r\n[...]", Tidy("1\r\n\r\n3\r\n", 2));
    EXPECT_EQ("[...]", Tidy("1", 0));
}

TEST(NetWords, CutsAtTheByteLimitNeverInsideALineBreakOrACharacter)
{
    EXPECT_EQ("abcd\r\n[...]", Tidy("abcdefgh", 20, 4));
    EXPECT_EQ("ab\r\n[...]", Tidy("ab  cd", 20, 4));   // nor a space before the mark
    EXPECT_EQ("ab\r\n[...]", Tidy("ab\r\ncd", 20, 3));   // no room for the line break: no CR without its LF
    EXPECT_EQ("ab\r\nc\r\n[...]", Tidy("ab\r\ncd", 20, 5));
    // "\x82\xA0" is one character; with room for three bytes only its first whole character goes.
    EXPECT_EQ("a\x82\xA0\r\n[...]", Tidy("a\x82\xA0\x82\xA0", 20, 4, IsShiftJisLeadByte));
    EXPECT_EQ("a\r\n[...]", Tidy("a\x82\xA0", 20, 2, IsShiftJisLeadByte));
    // Whole text within the limits: no mark.
    EXPECT_EQ("abcd", Tidy("abcd", 1, 4));
}

TEST(NetWords, AnyAmountStaysWithinTheRoom)
{
    std::string flood;
    for (int i = 0; i < 20000; ++i)
        flood += "line of noise  \r\n\r\n";
    std::string tidied = Tidy(flood, 20, 2000);
    EXPECT_EQ(0u, tidied.rfind("line of noise\r\n\r\nline of noise", 0));
    EXPECT_EQ(10 * 13 + 9 * 4 + 7, static_cast<int>(tidied.size()));   // ten lines, nine blanks, the mark
    std::string long_line(100000, 'x');
    EXPECT_EQ(std::string(2000, 'x') + "\r\n[...]", Tidy(long_line));
}
