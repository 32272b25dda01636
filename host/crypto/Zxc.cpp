#include "host/crypto/Zxc.h"

#include <cstring>

#include <sodium.h>

#include "host/db/DBtable.h"

static_assert(Zxc::NetSaltBytes == crypto_pwhash_SALTBYTES, "salt size");
static_assert(Zxc::NetNonceBytes == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, "nonce size");
static_assert(Zxc::NetTagBytes == crypto_aead_xchacha20poly1305_ietf_ABYTES, "tag size");

namespace {

// libsodium is initialised once, by the first caller; later callers wait for it.
bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The network key of a password and salt; false when the hash could not run.
bool deriveKey(const std::string& password, const unsigned char* salt,
               unsigned char (&key)[crypto_aead_xchacha20poly1305_ietf_KEYBYTES])
{
    return crypto_pwhash(key, sizeof(key), password.data(), password.size(), salt,
                         crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                         crypto_pwhash_ALG_ARGON2ID13) == 0;
}

unsigned char rotl3(unsigned char b) { return static_cast<unsigned char>((b << 3) | (b >> 5)); }
unsigned char rotr3(unsigned char b) { return static_cast<unsigned char>((b >> 3) | (b << 5)); }
unsigned char scrambleMask(size_t i) { return static_cast<unsigned char>(0x5A + 29 * i); }

}  // namespace

// An armed failure of the routine (Zxc::failNext).
static bool injectedFailure(const char* routine)
{
    return HostDBFaults::check((std::string("Zxc::") + routine).c_str()) != 0;
}

bool Zxc::getRand(unsigned char* bytes, size_t n)
{
    if (!sodiumReady() || injectedFailure("getRand")) return false;
    if (bytes && n) randombytes_buf(bytes, n);
    return true;
}

ZxcBucket Zxc::getRand(size_t n)
{
    ZxcBucket bucket(n);
    if (!getRand(bucket.getData(), n)) return ZxcBucket();
    return bucket;
}

ZxcBucket Zxc::netEncrypt(const ZxcBucket& plain, const std::string& password)
{
    if (!sodiumReady() || plain.getSize() > crypto_aead_xchacha20poly1305_ietf_MESSAGEBYTES_MAX ||
        injectedFailure("netEncrypt"))
        return ZxcBucket();
    ZxcBucket sealed(NetOverheadBytes + plain.getSize());
    unsigned char* salt = sealed.getData();
    unsigned char* nonce = salt + NetSaltBytes;
    unsigned char* cipher = nonce + NetNonceBytes;
    randombytes_buf(salt, NetSaltBytes);
    randombytes_buf(nonce, NetNonceBytes);
    unsigned char key[crypto_aead_xchacha20poly1305_ietf_KEYBYTES];
    bool ok = deriveKey(password, salt, key);
    if (ok) {
        unsigned long long written = 0;
        ok = crypto_aead_xchacha20poly1305_ietf_encrypt(cipher, &written, plain.getData(), plain.getSize(), nullptr,
                                                        0, nullptr, nonce, key) == 0;
    }
    sodium_memzero(key, sizeof(key));
    if (!ok) return ZxcBucket();
    return sealed;
}

bool Zxc::netDecrypt(const ZxcBucket& sealed, const std::string& password, ZxcBucket& plain)
{
    plain = ZxcBucket();
    if (!sodiumReady() || sealed.getSize() < NetOverheadBytes) return false;
    const unsigned char* salt = sealed.getData();
    const unsigned char* nonce = salt + NetSaltBytes;
    const unsigned char* cipher = nonce + NetNonceBytes;
    size_t cipherSize = sealed.getSize() - NetSaltBytes - NetNonceBytes;
    ZxcBucket opened(cipherSize - NetTagBytes);
    unsigned char key[crypto_aead_xchacha20poly1305_ietf_KEYBYTES];
    bool ok = deriveKey(password, salt, key);
    if (ok) {
        unsigned long long written = 0;
        ok = crypto_aead_xchacha20poly1305_ietf_decrypt(opened.getData(), &written, nullptr, cipher, cipherSize,
                                                        nullptr, 0, nonce, key) == 0;
    }
    sodium_memzero(key, sizeof(key));
    if (ok) plain = std::move(opened);
    return ok;
}

ZxcBucket Zxc::scrambleToBin(const unsigned char* bytes, size_t n)
{
    if (bytes == nullptr) return ZxcBucket();
    ZxcBucket out(n);
    for (size_t i = 0; i < n; ++i) out.getData()[i] = rotl3(bytes[n - 1 - i]) ^ scrambleMask(i);
    return out;
}

ZxcBucket Zxc::unscrambleFromBin(const unsigned char* bytes, size_t n)
{
    if (bytes == nullptr) return ZxcBucket();
    ZxcBucket out(n);
    for (size_t i = 0; i < n; ++i) out.getData()[n - 1 - i] = rotr3(bytes[i] ^ scrambleMask(i));
    return out;
}

std::string Zxc::bin2hex(const unsigned char* bytes, size_t n)
{
    if (bytes == nullptr || n == 0) return std::string();
    std::string hex(2 * n + 1, '\0');
    sodium_bin2hex(&hex[0], hex.size(), bytes, n);
    hex.resize(2 * n);
    return hex;
}

void Zxc::wipe(void* bytes, size_t n)
{
    if (bytes != nullptr && n != 0) sodium_memzero(bytes, n);
}

void Zxc::failNext(const std::string& routine)
{
    HostDBFaults::failNext("Zxc::" + routine, 1);
}
