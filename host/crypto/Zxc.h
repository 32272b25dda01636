// The scrambling library: the platform's random source, password-based
// encryption of a key for the network, and the reversible scramble and
// hexadecimal text a key travels as. Built on libsodium; nothing here logs.
#pragma once

#include <cstddef>
#include <string>

#include "host/crypto/ZxcBucket.h"

namespace Zxc {

// The cipher of a client's data encryption, a number the client's
// properties give (keys of the first message version use 1).
enum CIPHER : int {};

// Layout of netEncrypt's output: salt, nonce, then the ciphertext with its
// authentication tag at the end.
constexpr size_t NetSaltBytes = 16;
constexpr size_t NetNonceBytes = 24;
constexpr size_t NetTagBytes = 16;
constexpr size_t NetOverheadBytes = NetSaltBytes + NetNonceBytes + NetTagBytes;

// Fills n bytes from the platform's random source; false (bytes untouched)
// when the source could not be opened.
bool getRand(unsigned char* bytes, size_t n);
// A bucket of n random bytes; empty when the source could not be opened.
ZxcBucket getRand(size_t n);

// Encrypts the bytes for the network with a key derived from the password:
// Argon2id (libsodium's interactive limits) over a fresh random salt gives a
// 256-bit key for XChaCha20-Poly1305 with a fresh random nonce. The output is
// salt + nonce + ciphertext + tag (NetOverheadBytes more than the input).
// Empty when it could not be done (no random source, no memory for the
// password hash).
ZxcBucket netEncrypt(const ZxcBucket& plain, const std::string& password);
// Reverses netEncrypt. False, plain left empty, for another password, any
// changed byte, or a truncated input.
bool netDecrypt(const ZxcBucket& sealed, const std::string& password, ZxcBucket& plain);

// Scramble of n bytes (obfuscation, not protection): the bytes in reverse
// order, each rotated left by 3 bits, then XORed with the mask of its output
// position i, (0x5A + 29 * i) mod 256:
//     out[i] = rotl3(in[n - 1 - i]) ^ (0x5A + 29 * i)
// unscrambleFromBin undoes it. A null pointer gives an empty bucket.
ZxcBucket scrambleToBin(const unsigned char* bytes, size_t n);
ZxcBucket unscrambleFromBin(const unsigned char* bytes, size_t n);

// Lower-case hexadecimal text of n bytes, two characters a byte.
std::string bin2hex(const unsigned char* bytes, size_t n);

// Overwrites n bytes with zeros in a way the compiler keeps, for key
// material that is let go. A null pointer is left alone.
void wipe(void* bytes, size_t n);

// For tests: the next call of the named routine ("getRand" or "netEncrypt")
// fails as it does when the platform cannot serve it. Off until armed;
// HostDBFaults::clear drops what is pending.
void failNext(const std::string& routine);

inline std::string scrambleToHex(const ZxcBucket& bucket)
{
    ZxcBucket scrambled = scrambleToBin(bucket.getData(), bucket.getSize());
    return bin2hex(scrambled.getData(), scrambled.getSize());
}

}  // namespace Zxc
