// The MD5 message digest of RFC 1321.
#pragma once

#include <cstdint>

namespace md5 {

struct md5_context {
    uint32_t total[2];   // bytes fed so far, low word first
    uint32_t state[4];   // A, B, C, D
    unsigned char buffer[64];  // pending input
};

void md5_starts(md5_context* ctx);
// Feeds length bytes; a length of 0 does nothing.
void md5_update(md5_context* ctx, unsigned char* input, unsigned int length);
void md5_finish(md5_context* ctx, unsigned char digest[16]);
// One compression step on a 64-byte block.
void md5_process(md5_context* ctx, unsigned char data[64]);

}  // namespace md5
