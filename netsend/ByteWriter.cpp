// netsend/ByteWriter.cpp: CByteWriter.
#include "netsend/ByteWriter.h"

#include <string.h>

CByteWriter::CByteWriter(unsigned char* buffer, size_t capacity)
    : m_buffer(buffer), m_capacity(buffer ? capacity : 0)
{
}

void CByteWriter::Bytes(const void* data, size_t count)
{
    if (m_failed || count > m_capacity - m_length) {
        m_failed = true;
        return;
    }
    if (count)
        memcpy(m_buffer + m_length, data, count);
    m_length += count;
}

void CByteWriter::Zeros(size_t count)
{
    if (m_failed || count > m_capacity - m_length) {
        m_failed = true;
        return;
    }
    memset(m_buffer + m_length, 0, count);
    m_length += count;
}

void CByteWriter::Byte(unsigned value)
{
    unsigned char b = static_cast<unsigned char>(value);
    Bytes(&b, 1);
}

void CByteWriter::Uint16Be(unsigned value)
{
    Byte(value >> 8);
    Byte(value);
}

void CByteWriter::Uint16Le(unsigned value)
{
    Byte(value);
    Byte(value >> 8);
}

void CByteWriter::Uint32Le(unsigned long value)
{
    Uint16Le(static_cast<unsigned>(value & 0xFFFF));
    Uint16Le(static_cast<unsigned>(value >> 16));
}

void CByteWriter::PatchUint16Be(size_t offset, unsigned value)
{
    PatchUint16Le(offset, ((value & 0xFF) << 8) | ((value >> 8) & 0xFF));
}

void CByteWriter::PatchUint16Le(size_t offset, unsigned value)
{
    if (m_failed || offset > m_length || m_length - offset < 2) {
        m_failed = true;
        return;
    }
    m_buffer[offset] = static_cast<unsigned char>(value);
    m_buffer[offset + 1] = static_cast<unsigned char>(value >> 8);
}
