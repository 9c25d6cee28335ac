// netsend/ByteWriter.h: CByteWriter: composes a frame in a buffer of fixed size.
#pragma once

#include <stddef.h>

// Writing past the buffer's end writes nothing more and marks the writer failed for good, so that a
// frame is composed in one run and checked once.
class CByteWriter {
public:
    CByteWriter(unsigned char* buffer, size_t capacity);

    void Byte(unsigned value);
    void Uint16Be(unsigned value);
    void Uint16Le(unsigned value);
    void Uint32Le(unsigned long value);
    void Bytes(const void* data, size_t count);
    void Zeros(size_t count);
    // Rewrite a 16-bit field written earlier at `offset`, once what it counts is known.
    void PatchUint16Be(size_t offset, unsigned value);
    void PatchUint16Le(size_t offset, unsigned value);

    const unsigned char* Data() const { return m_buffer; }
    size_t Length() const { return m_length; }
    bool Failed() const { return m_failed; }

private:
    unsigned char* m_buffer;
    size_t m_capacity;
    size_t m_length = 0;
    bool m_failed = false;
};
