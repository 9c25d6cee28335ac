// platform/Sha256.h: CSha256, the SHA-256 digest of bytes given in any number of pieces.
// Needs no Windows header, so it is also built and tested natively.
#pragma once

#include <stddef.h>
#include <stdint.h>

class CSha256
{
public:
    CSha256();

    void Add(const void* data, size_t length);

    // Writes the digest of everything added; the object is spent afterwards.
    void Finish(unsigned char digest[32]);

private:
    void Compress();

    uint32_t m_state[8];
    uint64_t m_length;          // bytes added so far; the part of m_block in use is m_length % 64
    unsigned char m_block[64];
};
