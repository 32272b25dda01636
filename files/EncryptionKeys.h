// Encryption key hand-off: the pending key kept between the two requests of
// one id, the argument and result records of both message versions, their
// wire messages and the per-version adapters that let one template serve both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "service/CaseRegistry.h"

// Most pending keys kept when "~ReplicationMgr" "nMaxPendingEKeys" is not set
// or 0, and the largest value it takes.
constexpr unsigned int kDefaultMaxPendingEKeys = 10000;
constexpr unsigned int kMostPendingEKeys = 1000000;
// How many keys may wait for their second request at once, as the
// configuration gives it now.
size_t MaxPendingEKeys();
// Longest key a client's properties may ask for, in bytes.
constexpr int kMaxEKeySize = 64;
// The key of the first message version: its size and cipher.
constexpr int kEKeyV1Size = 16;
constexpr int kEKeyV1Cipher = 1;

// A key waiting for the second request of its id. Owns its malloc'd block
// and wipes it before freeing it.
struct EKey_t {
    EKey_t(unsigned char* key, int size, int cipher) : pKey(key), nSize(size), nCipher(cipher) {}
    EKey_t(EKey_t&& other) noexcept : pKey(other.pKey), nSize(other.nSize), nCipher(other.nCipher)
    {
        other.pKey = nullptr;
        other.nSize = 0;
    }
    EKey_t(const EKey_t&) = delete;
    EKey_t& operator=(const EKey_t&) = delete;
    EKey_t& operator=(EKey_t&&) = delete;
    ~EKey_t();

    unsigned char* pKey;
    int nSize;
    int nCipher;
};

struct GetEKeyArgs_t {
    GetEKeyArgs_t(const std::string& requestId, const std::string& name) : id(requestId), clientName(name) {}
    std::string id;
    std::string clientName;
};
struct GetEKeyArgsV2_t {
    GetEKeyArgsV2_t(const std::string& requestId, const std::string& name, int32_t client = 0)
        : id(requestId), clientName(name), clientId(client)
    {
    }
    std::string id;
    std::string clientName;
    int32_t clientId;
};

// `created`: this request drew the key and left its copy pending (false when
// it took a pending key, or on failure). The key bytes are wiped with the result.
struct GetEKeyRet_t {
    GetEKeyRet_t() = default;
    GetEKeyRet_t(const GetEKeyRet_t&) = delete;
    GetEKeyRet_t& operator=(const GetEKeyRet_t&) = delete;
    ~GetEKeyRet_t();

    unsigned char key[kEKeyV1Size] = {};
    int32_t errCode = 0;
    std::string errMsg;
    int32_t cipherType = kEKeyV1Cipher;  // of the key taken; never sent
    bool created = false;
};
struct GetEKeyRetV2_t {
    GetEKeyRetV2_t() = default;
    GetEKeyRetV2_t(const GetEKeyRetV2_t&) = delete;
    GetEKeyRetV2_t& operator=(const GetEKeyRetV2_t&) = delete;
    ~GetEKeyRetV2_t();

    unsigned char* pKey = nullptr;  // new[] of keySize bytes
    int32_t errCode = 0;
    std::string errMsg;
    int32_t keySize = 0;
    int32_t cipherType = 0;
    bool created = false;
};

// ---- Wire messages ------------------------------------------------------------

// 0x350001f5.
struct repGetEKeyReq {
    static constexpr bool kHoldsPointers = true;
    char* id;
    char* clientName;
};
// 0x350001f6. The key text is null when no key is sent.
struct repGetEKeyResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    char* keyText;
    int32_t encrypted;
};
// 0x35000222.
struct repGetEKeyReqV2 {
    static constexpr bool kHoldsPointers = true;
    char* id;
    int32_t clientId;
    char* clientName;
};
// 0x35000223.
struct repGetEKeyRespV2 {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    char* keyText;
    int32_t encrypted;
    int32_t keySize;
    int32_t cipherType;
};

// ---- Per-version adapters -------------------------------------------------------

inline void setClientId(GetEKeyArgs_t&, const repGetEKeyReq&) {}
inline void setClientId(GetEKeyArgsV2_t& args, const repGetEKeyReqV2& request) { args.clientId = request.clientId; }

inline int getClientIdFromArgs(const GetEKeyArgs_t&) { return 0; }
inline int getClientIdFromArgs(const GetEKeyArgsV2_t& args) { return args.clientId; }

// Whether the request named its client by network host name.
inline bool IsANetHostName(const GetEKeyArgs_t&) { return true; }
inline bool IsANetHostName(const GetEKeyArgsV2_t&) { return false; }

// Storage for a key of size bytes in the result; false when there is none.
// Version 1 keeps its key in the result's array, which holds exactly 16 bytes.
inline bool YBAllocMem(GetEKeyRet_t&, int size) { return size == kEKeyV1Size; }
bool YBAllocMem(GetEKeyRetV2_t& ret, int size);

inline unsigned char* YBResultKey(GetEKeyRet_t& ret) { return ret.key; }
inline unsigned char* YBResultKey(GetEKeyRetV2_t& ret) { return ret.pKey; }
// The size of the key a successful result holds (0: none).
inline int YBResultKeySize(const GetEKeyRet_t&) { return kEKeyV1Size; }
inline int YBResultKeySize(const GetEKeyRetV2_t& ret) { return ret.keySize; }

// The only key size a version's result holds, 0 for any.
inline int YBFixedKeySize(const GetEKeyRet_t&) { return kEKeyV1Size; }
inline int YBFixedKeySize(const GetEKeyRetV2_t&) { return 0; }

inline void YBSetKeySize(GetEKeyRet_t&, int) {}
inline void YBSetKeySize(GetEKeyRetV2_t& ret, int size) { ret.keySize = size; }
inline void YBSetCipherType(GetEKeyRet_t& ret, int cipher) { ret.cipherType = cipher; }
inline void YBSetCipherType(GetEKeyRetV2_t& ret, int cipher) { ret.cipherType = cipher; }

// The key size a reply announces: version 1 writes nothing and always sends 16.
inline int YBSetKeySize(repGetEKeyResp&, const GetEKeyRet_t&) { return kEKeyV1Size; }
inline int YBSetKeySize(repGetEKeyRespV2& reply, const GetEKeyRetV2_t& ret)
{
    reply.keySize = ret.keySize;
    return reply.keySize;
}
inline void YBSetCipher(repGetEKeyResp&, const GetEKeyRet_t&) {}
inline void YBSetCipher(repGetEKeyRespV2& reply, const GetEKeyRetV2_t& ret) { reply.cipherType = ret.cipherType; }

// The request cases, bound in files/FilesCases.cpp.
extern const ServedCase GetEKeyCaseV1;
extern const ServedCase GetEKeyCaseV2;
