// form/NetWords.h: net.exe's own words, tidied to fit in a message box.
// Needs no window and no Windows header, so it is also built, tested and fuzzed natively.
#pragma once

#include <stddef.h>

// Marks the end of words that were cut; it stands on a line of its own.
extern const char kNetWordsCut[];

// Tidies what net.exe wrote (`length` bytes, which may hold NULs): line breaks of any kind become CR LF,
// trailing spaces and tabs go, leading and trailing blank lines are dropped, and runs of blank lines
// become one. What exceeds `maxLines` lines or `maxBytes` bytes is cut, never inside a CR LF or a
// double-byte character (`isLeadByte` tells them, or is null for single-byte text), and the cut is
// marked with kNetWordsCut. `out` holds TidyNetWordsRoom(maxBytes) bytes; returns the length written,
// without the terminating NUL.
size_t TidyNetWords(const char* text, size_t length, size_t maxLines, size_t maxBytes,
                    bool (*isLeadByte)(unsigned char), char* out);

constexpr size_t TidyNetWordsRoom(size_t maxBytes)
{
    return maxBytes + 2 + 5 + 1;   // the words, CR LF, the mark, NUL
}
