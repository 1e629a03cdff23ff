#include <tern/KvHttpAuthorization.h>
#include <tern/KvMd5.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const std::string& data) {
    KvString out;
    KvHttpAuthorization::H(data.data(), static_cast<int>(data.size()), out);
    return out.c_str();
}

// The test suite of RFC 1321, appendix A.5.
TEST(KvMd5Test, ReferenceVectors) {
    const struct {
        const char* input;
        const char* digest;
    } kVectors[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& v : kVectors) EXPECT_EQ(Hex(v.input), v.digest) << '"' << v.input << '"';
}

// Feeding the same bytes in uneven pieces must not change the digest: this crosses the
// 64-byte block edge at every offset and the 56-byte padding boundary.
TEST(KvMd5Test, PiecewiseUpdateMatchesOneShot) {
    std::string data;
    for (int i = 0; i < 300; ++i) data += static_cast<char>(i * 7 + 3);
    for (size_t len : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 300u}) {
        const std::string part = data.substr(0, len);
        for (unsigned step : {1u, 3u, 17u, 64u}) {
            MD5_CTX ctx;
            MD5Init(&ctx);
            for (size_t at = 0; at < part.size(); at += step) {
                const unsigned n = static_cast<unsigned>(std::min<size_t>(step, part.size() - at));
                MD5Update(&ctx, reinterpret_cast<const unsigned char*>(part.data() + at), n);
            }
            unsigned char digest[16];
            MD5Final(digest, &ctx);
            char text[33];
            for (int i = 0; i < 16; ++i) std::snprintf(text + i * 2, 3, "%02x", digest[i]);
            EXPECT_EQ(std::string(text), Hex(part)) << "length " << len << " step " << step;
        }
    }
}

}  // namespace
