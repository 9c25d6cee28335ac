// tests/unit/Sha256Test.cpp: the digests of the FIPS 180-2 examples, each message added whole and in pieces.
#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

TEST(Sha256, DigestsTheStandardExamplesAddedWholeOrInUnevenPieces)
{
    const struct { std::string message; const char* digest; } cases[] = {
        { "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855" },
        { "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad" },
        { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",   // 56 bytes: the length needs a block of its own
          "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1" },
        { std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0" },
    };
    // They add up to an odd number, so over a million bytes each length starts at every offset in a block.
    const size_t pieces[] = { 0, 1, 55, 56, 63, 64, 65, 127, 200 };
    for (const auto& c : cases)
        for (bool whole : { true, false }) {
            CSha256 sha;
            for (size_t at = 0, i = 0, count; at < c.message.size(); at += count, ++i) {
                count = whole ? c.message.size() : std::min(pieces[i % 9], c.message.size() - at);
                sha.Add(c.message.data() + at, count);
            }
            unsigned char digest[32];
            sha.Finish(digest);
            char hex[65];
            for (int k = 0; k < 32; ++k)
                snprintf(hex + 2 * k, 3, "%02x", digest[k]);
            EXPECT_STREQ(c.digest, hex) << c.message.substr(0, 8) << (whole ? " whole" : " in pieces");
        }
}
