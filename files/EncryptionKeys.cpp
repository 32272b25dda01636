// Encryption key hand-off: the first request of an id draws a fresh random
// key and keeps a copy; the second request of that id gets the same key and
// the copy is wiped. Both message versions share the pending keys. Key bytes
// and key texts are never written to the log.
#include "files/EncryptionKeys.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "host/ClientProperties.h"
#include "host/EvDebug.h"
#include "host/ZXClient.h"
#include "host/ZXPlatformInfo.h"
#include "host/crypto/Zxc.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/Sync.h"

namespace {

const char ProgName[] = "ReplicationMgrEKeys";

// The keys handed out once, by request id, and the critical section that
// serialises every key operation of both versions over them. Built on first
// use; the keys left are wiped when the process ends.
struct PendingEKeys {
    ZxCriticalSection YBGetEKeyCS;
    std::map<std::string, EKey_t> EKeyMap;
};

PendingEKeys& Pending()
{
    static PendingEKeys pending;
    return pending;
}

// A copy of size key bytes in a malloc'd block for the pending keys; null
// when there is no memory.
unsigned char* CopyKeyBlock(const unsigned char* key, int size)
{
    auto* block = static_cast<unsigned char*>(malloc(static_cast<size_t>(size)));
    if (block != nullptr) std::memcpy(block, key, static_cast<size_t>(size));
    return block;
}

// A refused key operation: text and code into the result, then "\tEvent: "
// + text + details at ERR. Always false.
template <typename Ret>
bool Fail(ReplicationMgr& mgr, Ret& ret, int code, const std::string& text, const std::string& details,
          const char* function, long line)
{
    return steps::Fail(mgr, ret, code, text, details, ProgName, function, line);
}

}  // namespace

size_t MaxPendingEKeys()
{
    return static_cast<size_t>(ZXPlatformInfo().readSetting("~ReplicationMgr", "nMaxPendingEKeys",
                                                            {kMostPendingEKeys, kDefaultMaxPendingEKeys, true}));
}

EKey_t::~EKey_t()
{
    if (pKey != nullptr) {
        Zxc::wipe(pKey, static_cast<size_t>(nSize));
        free(pKey);
    }
}

GetEKeyRet_t::~GetEKeyRet_t() { Zxc::wipe(key, sizeof key); }

GetEKeyRetV2_t::~GetEKeyRetV2_t()
{
    if (pKey != nullptr) Zxc::wipe(pKey, static_cast<size_t>(keySize));
    delete[] pKey;
}

bool YBAllocMem(GetEKeyRetV2_t& ret, int size)
{
    if (ret.pKey != nullptr) Zxc::wipe(ret.pKey, static_cast<size_t>(ret.keySize));
    delete[] ret.pKey;
    ret.pKey = new (std::nothrow) unsigned char[static_cast<size_t>(size)];
    return ret.pKey != nullptr;
}

// ---- Key size and cipher --------------------------------------------------------

bool ReplicationMgr::FindEncTypeAndKeySize(const GetEKeyArgs_t&, GetEKeyRet_t&, int& keySize, int& cipherType)
{
    keySize = kEKeyV1Size;
    cipherType = kEKeyV1Cipher;
    return true;
}

template <typename Args, typename Ret>
bool ReplicationMgr::FindEncTypeAndKeySize(const Args& args, Ret& ret, int& keySize, int& cipherType)
{
    static const char Fn[] = "ReplicationMgr::FindEncTypeAndKeySize()";
    const std::string name = EvDebug::escaped(args.clientName);
    int clientId = getClientIdFromArgs(args);

    if (clientId == 0) {
        ZXClient client(args.clientName, true, nullptr);
        if (client.lookup() != 0 || client.getClientId(clientId) != 0)
            return Fail(*this, ret, kErrMissingInput, "Cannot find the host name in the DH DB",
                        "\n\tHostName = " + name, Fn, __LINE__);
    }
    const std::string clientLines = std::to_string(clientId) + "\n\tClient Name         = " + name;

    ClientProperties properties(clientId);
    bool enabled = false;
    int rc = properties.getClientEncryption(enabled);
    if (rc != 0)
        return Fail(*this, ret, kErrLookupFailed, "App Manager failed to check if encryption is enabled",
                    "\n\tClientProperties::getClientEncryption() call failed\n\tApp Mgr Error Code  = " +
                        std::to_string(rc) + "\n\tClient Id           = " + clientLines,
                    Fn, __LINE__);
    if (!enabled) {
        keySize = 0;
        m_LogMsg << "\tEvent: encryption is not enabled\n\tClient id   = " << clientId << "\n\tClient Name = " << name;
        WriteLogMsg(ProgName, Fn, __LINE__, INFO);
        return true;
    }

    Zxc::CIPHER cipher{};
    rc = properties.getDataEncType(cipher);
    if (rc != 0)
        return Fail(*this, ret, kErrLookupFailed, "Failed to get the cypher type",
                    "\n\tClientProperties::getDataEncType() call failed\n\tApp Mgr Error Code  = " +
                        std::to_string(rc) + "\n\tClient Id           = " + clientLines,
                    Fn, __LINE__);
    int size = 0;
    rc = properties.getDataKeyLen(size);
    if (rc != 0)
        return Fail(*this, ret, kErrLookupFailed, "Failed to get the encryption key size",
                    "\n\tClientProperties::getDataKeyLen() call failed\n\tError Code   = " + std::to_string(rc) +
                        "\n\tClient Id    = " + std::to_string(clientId) + "\n\tClient Name  = " + name,
                    Fn, __LINE__);
    // A size of 0 would read as "encryption off" to the client; the wire and
    // the clients' ciphers hold no key longer than 64 bytes.
    if (size <= 0 || size > kMaxEKeySize)
        return Fail(*this, ret, kErrInvalidId, "Invalid encryption key size",
                    "\n\tKey Size     = " + std::to_string(size) + "\n\tClient Id    = " + std::to_string(clientId) +
                        "\n\tClient Name  = " + name,
                    Fn, __LINE__);

    keySize = size;
    cipherType = static_cast<int>(cipher);
    return true;
}

// ---- Key operation ----------------------------------------------------------------

bool ReplicationMgr::GetEKey(const GetEKeyArgs_t& args, GetEKeyRet_t& ret) { return GetEKeyFx(args, ret); }

bool ReplicationMgr::GetEKey(const GetEKeyArgsV2_t& args, GetEKeyRetV2_t& ret) { return GetEKeyFx(args, ret); }

template <typename Args, typename Ret>
bool ReplicationMgr::GetEKeyFx(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::GetEKeyFx()";
    PendingEKeys& pending = Pending();
    ZxCriticalSectionLock guard(&pending.YBGetEKeyCS);
    ret.created = false;

    if (args.id.empty())
        return Fail(*this, ret, kErrMissingInput, "Cannot get E. Key with an empty id", "", Fn, __LINE__);

    int size = 0;
    int cipher = 0;
    if (!FindEncTypeAndKeySize(args, ret, size, cipher)) return false;
    if (size == 0) {
        YBSetKeySize(ret, 0);
        ret.errMsg = "";
        return true;
    }

    auto found = pending.EKeyMap.find(args.id);
    if (found != pending.EKeyMap.end()) {
        // The second request of the id: the kept key, then the copy goes.
        const EKey_t& kept = found->second;
        const int fixed = YBFixedKeySize(ret);
        if (fixed != 0 && kept.nSize != fixed)
            return Fail(*this, ret, kErrAlreadyExists,
                        "The pending encryption key of this id does not fit this message version",
                        "\n\tKey Size = " + std::to_string(kept.nSize) + "\n\tExpected = " + std::to_string(fixed), Fn,
                        __LINE__);
        YBSetKeySize(ret, kept.nSize);
        if (!YBAllocMem(ret, kept.nSize))
            return Fail(*this, ret, kErrNoMemory, "No memory available to hold the encryption key", "", Fn, __LINE__);
        std::memcpy(YBResultKey(ret), kept.pKey, static_cast<size_t>(kept.nSize));
        YBSetCipherType(ret, kept.nCipher);
        pending.EKeyMap.erase(found);  // wipes and frees the copy
        ret.errMsg = "";
        return true;
    }

    // The first request of the id: a fresh key, a copy kept for the second.
    const size_t limit = MaxPendingEKeys();
    if (pending.EKeyMap.size() >= limit)
        return Fail(*this, ret, kErrNoMemory, "Too many encryption keys are waiting for their second request",
                    "\n\tPending Keys = " + std::to_string(pending.EKeyMap.size()) +
                        "\n\tLimit        = " + std::to_string(limit),
                    Fn, __LINE__);
    YBSetKeySize(ret, size);
    if (!YBAllocMem(ret, size))
        return Fail(*this, ret, kErrNoMemory, "No memory available to hold the encryption key", "", Fn, __LINE__);
    YBSetCipherType(ret, cipher);
    ZxcBucket random = Zxc::getRand(static_cast<size_t>(size));
    if (random.getSize() != static_cast<size_t>(size))
        return Fail(*this, ret, kErrInternal, "The random source could not give an encryption key",
                    "\n\tSize = " + std::to_string(size), Fn, __LINE__);
    unsigned char* block = CopyKeyBlock(random.getData(), size);
    if (block == nullptr)
        return Fail(*this, ret, kErrNoMemory, "No memory to hold the Encryption Key",
                    "\n\tSize = " + std::to_string(size), Fn, __LINE__);
    std::memcpy(YBResultKey(ret), random.getData(), static_cast<size_t>(size));
    pending.EKeyMap.emplace(args.id, EKey_t(block, size, cipher));
    ret.created = true;
    ret.errMsg = "";
    return true;
}

template <typename Args, typename Ret>
void ReplicationMgr::UndoGetEKey(const Args& args, Ret& ret)
{
    static const char Fn[] = "ReplicationMgr::UndoGetEKey()";
    PendingEKeys& pending = Pending();
    ZxCriticalSectionLock guard(&pending.YBGetEKeyCS);
    const int size = YBResultKeySize(ret);
    const unsigned char* key = YBResultKey(ret);
    auto found = pending.EKeyMap.find(args.id);

    if (ret.created) {
        // Dropped only while it is still this request's copy: a second
        // request may have taken it in the meantime.
        if (found != pending.EKeyMap.end() && found->second.nSize == size &&
            std::memcmp(found->second.pKey, key, static_cast<size_t>(size)) == 0)
            pending.EKeyMap.erase(found);
        return;
    }
    // A key taken from the map waits again, unless a first request of the id
    // has made a new one in the meantime.
    if (found != pending.EKeyMap.end()) return;
    unsigned char* block = CopyKeyBlock(key, size);
    if (block == nullptr) {
        m_LogMsg << "\tEvent: No memory to hold the Encryption Key\n\tSize = " << size;
        WriteLogMsg(ProgName, Fn, __LINE__, ERR);
        return;
    }
    pending.EKeyMap.emplace(args.id, EKey_t(block, size, ret.cipherType));
}

// ---- Key text ------------------------------------------------------------------------

bool ReplicationMgr::EncryptKey(const unsigned char* key, const std::string& clientName, std::string& keyText,
                                int size, bool isNetHostName)
{
    ZXClient client(clientName, isNetHostName, nullptr);
    ZxcBucket bucket(key, static_cast<size_t>(size));
    bool encrypted = false;
    std::string password;
    if (!clientName.empty() && client.getPassword(password) == 0) {
        ZxcBucket sealed = Zxc::netEncrypt(bucket, password);
        Zxc::wipe(&password[0], password.size());
        // An empty bucket is a failed encryption, never a key to scramble.
        if (sealed.getSize() == 0) {
            keyText.clear();
            return true;
        }
        bucket = std::move(sealed);
        encrypted = true;
    }
    keyText = Zxc::scrambleToHex(bucket);
    return encrypted;
}

// ---- Request handler --------------------------------------------------------------------

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::GetEKeyHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    static const char Fn[] = "ReplicationMgr::GetEKeyHandler()";
    const Req& request = cases::RequestOf<Req>(buf);
    Args args(request.id ? request.id : "", request.clientName ? request.clientName : "");
    setClientId(args, request);
    Ret ret;
    std::string keyText;  // the reply points into it until the send
    bool encrypted = false;

    AnswerByHandler<Reply>(
        *this, Fn, requestCode, replyCode, false, ret,
        [&](DBtran*) {
            if (!GetEKey(args, ret)) return false;
            const int size = YBResultKeySize(ret);
            if (size == 0) return true;
            encrypted = EncryptKey(YBResultKey(ret), args.clientName, keyText, size, IsANetHostName(args));
            if (!keyText.empty()) return true;
            // The client would get a key it cannot use: the pending keys go
            // back to what they were.
            UndoGetEKey(args, ret);
            return Fail(*this, ret, kErrInternal, "The encryption key could not be encrypted for the client",
                        "\n\tClient Name = " + EvDebug::escaped(args.clientName), Fn, __LINE__);
        },
        [&](Reply& r) {
            if (YBSetKeySize(r, ret) != 0) {
                YBSetCipher(r, ret);
                r.keyText = &keyText[0];
                r.encrypted = encrypted ? 1 : 0;
            }
        });
    Zxc::wipe(&keyText[0], keyText.size());
}

// ---- Request cases, one per message version ------------------------------------------------

const ServedCase GetEKeyCaseV1 =
    SERVE_HANDLER_CASE(GetEKeyHandler, repGetEKeyReq, repGetEKeyResp, GetEKeyArgs_t, GetEKeyRet_t);
const ServedCase GetEKeyCaseV2 =
    SERVE_HANDLER_CASE(GetEKeyHandler, repGetEKeyReqV2, repGetEKeyRespV2, GetEKeyArgsV2_t, GetEKeyRetV2_t);
