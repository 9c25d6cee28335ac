// form/NetWords.cpp: TidyNetWords.
#include "form/NetWords.h"

#include <string.h>

const char kNetWordsCut[] = "[...]";

namespace {

bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\0' || c == '\v' || c == '\f';
}

// Writes into `out`, within `maxBytes`; remembers whether anything had to be left out.
class CWordsSink
{
public:
    CWordsSink(char* out, size_t maxBytes) : m_out(out), m_length(0), m_maxBytes(maxBytes), m_cut(false) {}

    size_t Room() const { return m_maxBytes - m_length; }
    size_t Length() const { return m_length; }
    bool Cut() const { return m_cut; }
    void MarkCut() { m_cut = true; }

    // Whole or not at all.
    bool Put(const char* bytes, size_t count)
    {
        if (count > Room()) {
            m_cut = true;
            return false;
        }
        memcpy(m_out + m_length, bytes, count);
        m_length += count;
        return true;
    }

    // As much of a line as fits, never half a double-byte character; NULs become spaces.
    void PutLine(const char* line, size_t count, bool (*isLeadByte)(unsigned char))
    {
        size_t i = 0;
        while (i < count) {
            size_t width = isLeadByte && isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < count ? 2 : 1;
            if (width > Room()) {
                m_cut = true;
                return;
            }
            for (size_t k = 0; k < width; ++k, ++i)
                m_out[m_length++] = line[i] == '\0' ? ' ' : line[i];
        }
    }

private:
    char* m_out;
    size_t m_length;
    size_t m_maxBytes;
    bool m_cut;
};

} // namespace

size_t TidyNetWords(const char* text, size_t length, size_t maxLines, size_t maxBytes,
                    bool (*isLeadByte)(unsigned char), char* out)
{
    CWordsSink sink(out, maxBytes);
    size_t lines = 0;
    bool blankPending = false;   // a blank line is written only once a line with text follows it
    for (size_t start = 0; start < length && !sink.Cut();) {
        size_t end = start;
        while (end < length && text[end] != '\r' && text[end] != '\n')
            ++end;
        size_t next = end;
        if (next < length)
            next += text[next] == '\r' && next + 1 < length && text[next + 1] == '\n' ? 2 : 1;

        size_t trimmed = end;
        while (trimmed > start && IsTrailingSpace(text[trimmed - 1]))
            --trimmed;
        if (trimmed == start) {
            blankPending = lines > 0;
        } else {
            size_t needed = blankPending ? 2 : 1;
            if (lines + needed > maxLines) {
                sink.MarkCut();
                break;
            }
            if (lines > 0 && !sink.Put("\r\n", 2))
                break;
            if (blankPending && !sink.Put("\r\n", 2))
                break;
            lines += needed;
            blankPending = false;
            sink.PutLine(text + start, trimmed - start, isLeadByte);
        }
        start = next;
    }

    size_t written = sink.Length();
    if (sink.Cut()) {
        // A cut right after a line break or a space would leave a blank line or a trailing space.
        for (;;) {
            if (written >= 2 && out[written - 2] == '\r' && out[written - 1] == '\n')
                written -= 2;
            else if (written >= 1 && (out[written - 1] == ' ' || out[written - 1] == '\t'))
                --written;
            else
                break;
        }
        if (written > 0) {
            memcpy(out + written, "\r\n", 2);
            written += 2;
        }
        memcpy(out + written, kNetWordsCut, sizeof kNetWordsCut - 1);
        written += sizeof kNetWordsCut - 1;
    }
    out[written] = '\0';
    return written;
}
