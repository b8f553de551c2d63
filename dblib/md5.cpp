#include "dblib/md5.h"

#include <cstring>

namespace md5 {

namespace {

inline uint32_t Load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap32(v);
#endif
    return v;
}

inline void Store32(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

inline uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// The auxiliary functions F, H and I, written so that x (the newest value) meets the others
// last; F in the form that needs one operation less. G is written into its step below.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ (y ^ z); }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

// b is the value the step before has just computed: the word, the constant and whatever does not
// need b are added first, so that the chain from step to step stays as short as it can.
#define MD5_STEP(f, a, b, c, d, x, s, t) \
    a += (x) + (t);                      \
    a += f(b, c, d);                     \
    a = Rotl(a, s) + b

// G(b, c, d) = (b & d) | (c & ~d): the two terms share no bit, so they can be added one by one,
// and only the second needs b.
#define MD5_STEP_G(a, b, c, d, x, s, t) \
    a += (x) + (t) + ((c) & ~(d));      \
    a += (b) & (d);                     \
    a = Rotl(a, s) + b

void Compress(uint32_t state[4], const unsigned char* data) {
    uint32_t X[16];
    for (int i = 0; i < 16; ++i) X[i] = Load32(data + 4 * i);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    MD5_STEP(F, a, b, c, d, X[0], 7, 0xD76AA478);
    MD5_STEP(F, d, a, b, c, X[1], 12, 0xE8C7B756);
    MD5_STEP(F, c, d, a, b, X[2], 17, 0x242070DB);
    MD5_STEP(F, b, c, d, a, X[3], 22, 0xC1BDCEEE);
    MD5_STEP(F, a, b, c, d, X[4], 7, 0xF57C0FAF);
    MD5_STEP(F, d, a, b, c, X[5], 12, 0x4787C62A);
    MD5_STEP(F, c, d, a, b, X[6], 17, 0xA8304613);
    MD5_STEP(F, b, c, d, a, X[7], 22, 0xFD469501);
    MD5_STEP(F, a, b, c, d, X[8], 7, 0x698098D8);
    MD5_STEP(F, d, a, b, c, X[9], 12, 0x8B44F7AF);
    MD5_STEP(F, c, d, a, b, X[10], 17, 0xFFFF5BB1);
    MD5_STEP(F, b, c, d, a, X[11], 22, 0x895CD7BE);
    MD5_STEP(F, a, b, c, d, X[12], 7, 0x6B901122);
    MD5_STEP(F, d, a, b, c, X[13], 12, 0xFD987193);
    MD5_STEP(F, c, d, a, b, X[14], 17, 0xA679438E);
    MD5_STEP(F, b, c, d, a, X[15], 22, 0x49B40821);

    MD5_STEP_G(a, b, c, d, X[1], 5, 0xF61E2562);
    MD5_STEP_G(d, a, b, c, X[6], 9, 0xC040B340);
    MD5_STEP_G(c, d, a, b, X[11], 14, 0x265E5A51);
    MD5_STEP_G(b, c, d, a, X[0], 20, 0xE9B6C7AA);
    MD5_STEP_G(a, b, c, d, X[5], 5, 0xD62F105D);
    MD5_STEP_G(d, a, b, c, X[10], 9, 0x02441453);
    MD5_STEP_G(c, d, a, b, X[15], 14, 0xD8A1E681);
    MD5_STEP_G(b, c, d, a, X[4], 20, 0xE7D3FBC8);
    MD5_STEP_G(a, b, c, d, X[9], 5, 0x21E1CDE6);
    MD5_STEP_G(d, a, b, c, X[14], 9, 0xC33707D6);
    MD5_STEP_G(c, d, a, b, X[3], 14, 0xF4D50D87);
    MD5_STEP_G(b, c, d, a, X[8], 20, 0x455A14ED);
    MD5_STEP_G(a, b, c, d, X[13], 5, 0xA9E3E905);
    MD5_STEP_G(d, a, b, c, X[2], 9, 0xFCEFA3F8);
    MD5_STEP_G(c, d, a, b, X[7], 14, 0x676F02D9);
    MD5_STEP_G(b, c, d, a, X[12], 20, 0x8D2A4C8A);

    MD5_STEP(H, a, b, c, d, X[5], 4, 0xFFFA3942);
    MD5_STEP(H, d, a, b, c, X[8], 11, 0x8771F681);
    MD5_STEP(H, c, d, a, b, X[11], 16, 0x6D9D6122);
    MD5_STEP(H, b, c, d, a, X[14], 23, 0xFDE5380C);
    MD5_STEP(H, a, b, c, d, X[1], 4, 0xA4BEEA44);
    MD5_STEP(H, d, a, b, c, X[4], 11, 0x4BDECFA9);
    MD5_STEP(H, c, d, a, b, X[7], 16, 0xF6BB4B60);
    MD5_STEP(H, b, c, d, a, X[10], 23, 0xBEBFBC70);
    MD5_STEP(H, a, b, c, d, X[13], 4, 0x289B7EC6);
    MD5_STEP(H, d, a, b, c, X[0], 11, 0xEAA127FA);
    MD5_STEP(H, c, d, a, b, X[3], 16, 0xD4EF3085);
    MD5_STEP(H, b, c, d, a, X[6], 23, 0x04881D05);
    MD5_STEP(H, a, b, c, d, X[9], 4, 0xD9D4D039);
    MD5_STEP(H, d, a, b, c, X[12], 11, 0xE6DB99E5);
    MD5_STEP(H, c, d, a, b, X[15], 16, 0x1FA27CF8);
    MD5_STEP(H, b, c, d, a, X[2], 23, 0xC4AC5665);

    MD5_STEP(I, a, b, c, d, X[0], 6, 0xF4292244);
    MD5_STEP(I, d, a, b, c, X[7], 10, 0x432AFF97);
    MD5_STEP(I, c, d, a, b, X[14], 15, 0xAB9423A7);
    MD5_STEP(I, b, c, d, a, X[5], 21, 0xFC93A039);
    MD5_STEP(I, a, b, c, d, X[12], 6, 0x655B59C3);
    MD5_STEP(I, d, a, b, c, X[3], 10, 0x8F0CCC92);
    MD5_STEP(I, c, d, a, b, X[10], 15, 0xFFEFF47D);
    MD5_STEP(I, b, c, d, a, X[1], 21, 0x85845DD1);
    MD5_STEP(I, a, b, c, d, X[8], 6, 0x6FA87E4F);
    MD5_STEP(I, d, a, b, c, X[15], 10, 0xFE2CE6E0);
    MD5_STEP(I, c, d, a, b, X[6], 15, 0xA3014314);
    MD5_STEP(I, b, c, d, a, X[13], 21, 0x4E0811A1);
    MD5_STEP(I, a, b, c, d, X[4], 6, 0xF7537E82);
    MD5_STEP(I, d, a, b, c, X[11], 10, 0xBD3AF235);
    MD5_STEP(I, c, d, a, b, X[2], 15, 0x2AD7D2BB);
    MD5_STEP(I, b, c, d, a, X[9], 21, 0xEB86D391);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

#undef MD5_STEP
#undef MD5_STEP_G

// A one bit, then zeros up to the length field.
const unsigned char md5_padding[64] = {0x80};

}  // namespace

void md5_starts(md5_context* ctx) {
    ctx->total[0] = 0;
    ctx->total[1] = 0;
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xEFCDAB89;
    ctx->state[2] = 0x98BADCFE;
    ctx->state[3] = 0x10325476;
}

void md5_process(md5_context* ctx, unsigned char data[64]) { Compress(ctx->state, data); }

void md5_update(md5_context* ctx, unsigned char* input, unsigned int length) {
    if (length == 0) return;
    unsigned int left = ctx->total[0] & 0x3F;
    const unsigned int fill = 64 - left;

    ctx->total[0] += length;
    if (ctx->total[0] < length) ++ctx->total[1];

    if (left != 0 && length >= fill) {
        std::memcpy(ctx->buffer + left, input, fill);
        Compress(ctx->state, ctx->buffer);
        input += fill;
        length -= fill;
        left = 0;
    }
    while (length >= 64) {
        Compress(ctx->state, input);
        input += 64;
        length -= 64;
    }
    if (length > 0) std::memcpy(ctx->buffer + left, input, length);
}

void md5_finish(md5_context* ctx, unsigned char digest[16]) {
    // The length field counts bits: the byte counters shifted left by three.
    const uint32_t high = (ctx->total[0] >> 29) | (ctx->total[1] << 3);
    const uint32_t low = ctx->total[0] << 3;
    unsigned char length[8];
    Store32(length, low);
    Store32(length + 4, high);

    const unsigned int used = ctx->total[0] & 0x3F;
    const unsigned int pad = used < 56 ? 56 - used : 120 - used;
    md5_update(ctx, const_cast<unsigned char*>(md5_padding), pad);
    md5_update(ctx, length, 8);

    for (int i = 0; i < 4; ++i) Store32(digest + 4 * i, ctx->state[i]);
}

}  // namespace md5
