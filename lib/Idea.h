// The IDEA block cipher (128-bit key, 64-bit block) and the derivation of 16-byte keys from texts.
#pragma once

// IDEA as published: eight rounds and an output transformation, multiplication modulo 65537 with
// 0 standing for 65536. Key, blocks and subkeys are big-endian 16-bit words. A plain value:
// concurrent Encrypt/Decrypt calls on one keyed context are safe, Key is not.
class CIdeaCtx final {
public:
    // All subkeys zero; call Key before use.
    CIdeaCtx();
    // Same as CIdeaCtx() followed by Key(key16).
    explicit CIdeaCtx(const unsigned char* key16);

    // The 52 encryption subkeys of a 16-byte key.
    static void ExpandKey(const unsigned char* key, unsigned short* subkeys);
    // Fills the decryption subkeys from 52 encryption subkeys.
    void InvertKey(const unsigned short* encKeys);
    // ExpandKey into the encryption subkeys, then InvertKey into the decryption subkeys.
    void Key(const unsigned char* key16);
    // One 8-byte block through the rounds with the given 52 subkeys; in and out may coincide.
    static void Cipher(const unsigned char* in, unsigned char* out, const unsigned short* subkeys);
    // n consecutive 8-byte blocks, each on its own (ECB); n <= 0 does nothing; in may equal out.
    void Encrypt(const unsigned char* in, unsigned char* out, int n) const;
    void Decrypt(const unsigned char* in, unsigned char* out, int n) const;

    const unsigned short* EncKeys() const { return m_Enc; }
    const unsigned short* DecKeys() const { return m_Dec; }

    // Multiplicative inverse modulo 65537 (0 standing for 65536); 0 and 1 map to themselves.
    static unsigned short mulInv(unsigned short x);

private:
    unsigned short m_Enc[52];
    unsigned short m_Dec[52];
};

// A 16-byte key folded from texts into a 16-byte block. Null text pointers throw
// std::logic_error; a null block counts as 16 zero bytes.
class CIdeaKey final {
public:
    // A zero key.
    CIdeaKey();

    // block16, then the CP1251 bytes of t1 over the first and of t2 over the last key bytes.
    void Set(const wchar_t* t1, const wchar_t* t2, const unsigned char* block16);
    // block16, then t1 and t2 folded in 16-byte chunks, then t3 over the last key bytes (CP1251).
    void Set2(const wchar_t* t1,
              const wchar_t* t2,
              const wchar_t* t3,
              const unsigned char* block16);
    // Set2 with the texts taken as UTF-8 instead of CP1251.
    void SetUtf8(const wchar_t* t1,
                 const wchar_t* t2,
                 const wchar_t* t3,
                 const unsigned char* block16);

    // The 16 key bytes.
    const unsigned char* Get() const { return m_Key; }

    // The C library's rand(): the random source of the channel codings.
    static int rand();

    // Not used by this layer; kept for hosts that number their random draws.
    static int s_NumRand;

private:
    unsigned char m_Key[16];
};
