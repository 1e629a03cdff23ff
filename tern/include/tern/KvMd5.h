// MD5 message digest (RFC 1321), for HTTP Digest authorization.
//
// The context and the three calls follow the RFC's reference interface, so
// code written against it reads the same. MD5 is broken for collision
// resistance; here it only serves the Digest scheme, which requires it.
#pragma once

#include <cstdint>

struct MD5_CTX {
    std::uint32_t state[4];   // A, B, C, D
    std::uint32_t count[2];   // number of bits, modulo 2^64, low word first
    unsigned char buffer[64]; // input not yet transformed
};

// Starts a new digest.
void MD5Init(MD5_CTX* context);
// Adds `length` bytes; may be called any number of times.
void MD5Update(MD5_CTX* context, const unsigned char* input, unsigned int length);
// Writes the 16-byte digest and wipes the context.
void MD5Final(unsigned char digest[16], MD5_CTX* context);
