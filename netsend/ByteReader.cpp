// netsend/ByteReader.cpp: CByteReader.
#include "netsend/ByteReader.h"

#include <string.h>

CByteReader::CByteReader(const unsigned char* data, size_t length)
    : m_data(data), m_length(data ? length : 0)
{
}

const unsigned char* CByteReader::Bytes(size_t count)
{
    if (m_failed || count > Remaining()) {
        m_failed = true;
        return nullptr;
    }
    const unsigned char* bytes = m_data + m_position;
    m_position += count;
    return bytes;
}

unsigned CByteReader::Byte()
{
    const unsigned char* b = Bytes(1);
    return b ? b[0] : 0;
}

unsigned CByteReader::Uint16Be()
{
    const unsigned char* b = Bytes(2);
    return b ? (b[0] << 8u) | b[1] : 0;
}

unsigned CByteReader::Uint16Le()
{
    const unsigned char* b = Bytes(2);
    return b ? b[0] | (b[1] << 8u) : 0;
}

unsigned long CByteReader::Uint32Be()
{
    unsigned long high = Uint16Be();
    return (high << 16) | Uint16Be();
}

unsigned long CByteReader::Uint32Le()
{
    unsigned long low = Uint16Le();
    return low | (static_cast<unsigned long>(Uint16Le()) << 16);
}

bool CByteReader::Matches(const unsigned char* expected, size_t count)
{
    const unsigned char* b = Bytes(count);
    return b && memcmp(b, expected, count) == 0;
}
