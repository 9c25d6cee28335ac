// netsend/ByteReader.h: CByteReader: reads bytes that came from the network, never past their end.
#pragma once

#include <stddef.h>

// A read past the end yields zeros and marks the reader failed for good, so that a parser can read a
// whole frame and check once at the end.
class CByteReader {
public:
    CByteReader(const unsigned char* data, size_t length);

    unsigned Byte();
    unsigned Uint16Be();
    unsigned Uint16Le();
    unsigned long Uint32Be();
    unsigned long Uint32Le();
    // The next `count` bytes, or null (and failed) when fewer remain.
    const unsigned char* Bytes(size_t count);
    void Skip(size_t count) { Bytes(count); }
    // True when the next bytes are exactly `expected`; they are consumed either way.
    bool Matches(const unsigned char* expected, size_t count);

    size_t Remaining() const { return m_length - m_position; }
    bool Failed() const { return m_failed; }

private:
    const unsigned char* m_data;
    size_t m_length;
    size_t m_position = 0;
    bool m_failed = false;
};
