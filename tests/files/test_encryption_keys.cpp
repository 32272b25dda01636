// The encryption key requests through post: keys handed out in pairs per
// request id, across both message versions, with the key text recovered the
// way a client does (unscramble, then decrypt with its password). Every test
// completes the pairs it opens, so no key stays pending for the next.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/EncryptionKeys.h"
#include "host/HostConfig.h"
#include "host/ZXPlatformInfo.h"
#include "host/crypto/Zxc.h"
#include "snr/SNRPostFixture.h"
#include "support/TestHost.h"

namespace {

const unsigned long V1 = 0x350001f5;
const unsigned long V2 = 0x35000222;

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;
    bool hasText = false;
    std::string keyText;
    int32_t encrypted = -1;
    int32_t keySize = -1;  // -1: version 1 carries none
    int32_t cipher = -1;
};

std::vector<unsigned char> FromHex(const std::string& hex)
{
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

class EncryptionKeyTest : public SNRPostTest<Answer> {
protected:
    void SetUp() override
    {
        SNRPostTest<Answer>::SetUp();
        alpha = addClient("alpha", "alpha.net", "alpha-pw", true, 3, 32);
        plain = addClient("plain", "plain.net", "", true, 2, 16);
    }

    // A client of the catalogue, with its id.
    HostClientSeed addClient(const std::string& name, const std::string& netHostName, const std::string& password,
                             bool encryption, int cipher = 0, int keyLength = 0)
    {
        HostClientSeed client;
        client.name = name;
        client.netHostName = netHostName;
        client.password = password;
        client.encryption = encryption;
        client.dataEncType = cipher;
        client.dataKeyLen = keyLength;
        EXPECT_EQ(HostConfig::addClient(client), 0);
        return client;
    }

    void TearDown() override
    {
        ZXPlatformInfo::clearValue("~ReplicationMgr", "nMaxPendingEKeys");
        SNRPostTest<Answer>::TearDown();
    }

    Answer decode(const void* data, unsigned long length) override
    {
        Answer a;
        const auto* r = static_cast<const repGetEKeyResp*>(data);
        a.status = r->status;
        a.errCode = r->errCode;
        if (r->errMsg) a.msg = r->errMsg;
        a.hasText = r->keyText != nullptr;
        if (a.hasText) a.keyText = r->keyText;
        a.encrypted = r->encrypted;
        if (length == sizeof(repGetEKeyRespV2)) {
            const auto* r2 = static_cast<const repGetEKeyRespV2*>(data);
            a.keySize = r2->keySize;
            a.cipher = r2->cipherType;
        }
        return a;
    }

    Answer askV1(const std::string& id, const std::string& hostName)
    {
        repGetEKeyReq req{RequestText(id), RequestText(hostName)};
        return post(V1, &req, sizeof(repGetEKeyResp));
    }

    Answer askV2(const std::string& id, const std::string& name, int clientId)
    {
        repGetEKeyReqV2 req{RequestText(id), clientId, RequestText(name)};
        return post(V2, &req, sizeof(repGetEKeyRespV2));
    }

    // The key bytes of a successful reply as its client recovers them.
    std::vector<unsigned char> keyOf(const Answer& a, const std::string& password)
    {
        EXPECT_EQ(a.status, 1u) << a.msg;
        EXPECT_TRUE(a.hasText);
        std::vector<unsigned char> wire = FromHex(a.keyText);
        ZxcBucket unscrambled = Zxc::unscrambleFromBin(wire.data(), wire.size());
        if (a.encrypted == 0) return {unscrambled.getData(), unscrambled.getData() + unscrambled.getSize()};
        EXPECT_EQ(a.encrypted, 1);
        ZxcBucket key;
        EXPECT_TRUE(Zxc::netDecrypt(unscrambled, password, key)) << "not sealed with " << password;
        return {key.getData(), key.getData() + key.getSize()};
    }

    void expectRefused(const Answer& a, int32_t code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
        EXPECT_FALSE(a.hasText);
        EXPECT_EQ(a.encrypted, 0);
        if (a.keySize != -1) {
            EXPECT_EQ(a.keySize, 0);
        }
    }

    HostClientSeed alpha;
    HostClientSeed plain;  // no password
};

TEST_F(EncryptionKeyTest, TwoRequestsOfAnIdShareTheKeyAndAThirdGetsANewOne)
{
    std::vector<unsigned char> first = keyOf(askV1("pair", "alpha.net"), "alpha-pw");
    std::vector<unsigned char> second = keyOf(askV1("pair", "alpha.net"), "alpha-pw");
    std::vector<unsigned char> third = keyOf(askV1("pair", "alpha.net"), "alpha-pw");
    std::vector<unsigned char> fourth = keyOf(askV1("pair", "alpha.net"), "alpha-pw");
    ASSERT_EQ(first.size(), 16u);
    EXPECT_EQ(second, first);
    EXPECT_NE(third, first);
    EXPECT_EQ(fourth, third);

    // Version 2: size and cipher from the client's properties.
    Answer a = askV2("pair2", "alpha", alpha.id);
    Answer b = askV2("pair2", "alpha", alpha.id);
    EXPECT_EQ(a.keySize, 32);
    EXPECT_EQ(a.cipher, 3);
    EXPECT_EQ(b.keySize, 32);
    EXPECT_EQ(b.cipher, 3);
    std::vector<unsigned char> keyA = keyOf(a, "alpha-pw");
    EXPECT_EQ(keyA.size(), 32u);
    EXPECT_EQ(keyOf(b, "alpha-pw"), keyA);
}

TEST_F(EncryptionKeyTest, InterleavedIdsKeepTheirOwnKeys)
{
    std::vector<unsigned char> a1 = keyOf(askV2("id-a", "alpha", alpha.id), "alpha-pw");
    std::vector<unsigned char> b1 = keyOf(askV2("id-b", "alpha", alpha.id), "alpha-pw");
    std::vector<unsigned char> b2 = keyOf(askV2("id-b", "alpha", alpha.id), "alpha-pw");
    std::vector<unsigned char> a2 = keyOf(askV2("id-a", "alpha", alpha.id), "alpha-pw");
    EXPECT_NE(a1, b1);
    EXPECT_EQ(a2, a1);
    EXPECT_EQ(b2, b1);
}

TEST_F(EncryptionKeyTest, ClientWithoutPasswordOrNameGetsTheScrambledPlainKey)
{
    Answer first = askV1("nopw", "plain.net");
    EXPECT_EQ(first.encrypted, 0);
    Answer second = askV1("nopw", "");  // no name: no password to look for
    EXPECT_EQ(second.encrypted, 0);
    EXPECT_EQ(keyOf(second, ""), keyOf(first, ""));
    EXPECT_EQ(first.keyText.size(), 32u);  // 16 bytes as hexadecimal text, nothing more

    // Version 2 finds the password by the client's name; without a name its
    // partner gets the same key unencrypted.
    Answer named = askV2("byname", "alpha", alpha.id);
    EXPECT_EQ(named.encrypted, 1);
    EXPECT_EQ(named.cipher, 3);
    Answer unnamed = askV2("byname", "", alpha.id);
    EXPECT_EQ(unnamed.encrypted, 0);
    EXPECT_EQ(keyOf(unnamed, ""), keyOf(named, "alpha-pw"));
}

TEST_F(EncryptionKeyTest, VersionOneRefusesAPendingKeyOfAnotherSizeAndLeavesItForItsPartner)
{
    std::vector<unsigned char> made = keyOf(askV2("mixed", "alpha", alpha.id), "alpha-pw");
    ASSERT_EQ(made.size(), 32u);
    expectRefused(askV1("mixed", "alpha.net"), -12, "The pending encryption key of this id does not fit this message version");
    Answer partner = askV2("mixed", "alpha", alpha.id);
    EXPECT_EQ(partner.keySize, 32);
    EXPECT_EQ(keyOf(partner, "alpha-pw"), made);
}

TEST_F(EncryptionKeyTest, SixteenByteKeysCrossVersionsUnderOneId)
{
    // Version 2 first: version 1 takes its 16-byte key.
    std::vector<unsigned char> made = keyOf(askV2("cross", "plain", plain.id), "");
    std::vector<unsigned char> taken = keyOf(askV1("cross", "alpha.net"), "alpha-pw");
    ASSERT_EQ(made.size(), 16u);
    EXPECT_EQ(taken, made);

    // Version 1 first: version 2 takes it with the size and cipher it was made with.
    made = keyOf(askV1("cross", "alpha.net"), "alpha-pw");
    Answer second = askV2("cross", "alpha", alpha.id);
    EXPECT_EQ(second.keySize, 16);
    EXPECT_EQ(second.cipher, 1);
    EXPECT_EQ(keyOf(second, "alpha-pw"), made);
}

TEST_F(EncryptionKeyTest, NoLogEntryHoldsTheKeyAtTheHighestVerboseLevel)
{
    ASSERT_EQ(mgr.verboseLevel(), 0);  // every level is written
    std::vector<Answer> answers = {askV1("logged", "alpha.net"), askV1("logged", "alpha.net"),
                                   askV2("logged2", "plain", plain.id), askV2("logged2", "plain", plain.id)};
    expectRefused(askV1("", "alpha.net"), -2, "Cannot get E. Key with an empty id");
    ASSERT_FALSE(EvDebug::entries().empty());
    ASSERT_FALSE(LogEntriesWith("completed successfully").empty());
    for (const Answer& a : answers) {
        std::vector<unsigned char> key = keyOf(a, a.encrypted ? "alpha-pw" : "");
        const std::string hex = Zxc::bin2hex(key.data(), key.size());
        EXPECT_TRUE(LogEntriesWith(hex).empty()) << hex;
        EXPECT_TRUE(LogEntriesWith(a.keyText).empty()) << a.keyText;
    }
}

TEST_F(EncryptionKeyTest, FailingRandomSourceIsAnErrorAndKeepsNothing)
{
    Zxc::failNext("getRand");
    expectRefused(askV1("rand", "alpha.net"), -14, "The random source could not give an encryption key");
    EXPECT_EQ(LogEntriesWith("The random source could not give an encryption key").size(), 1u);
    // Nothing was kept: the next request of the id is a first request again.
    std::vector<unsigned char> first = keyOf(askV1("rand", "alpha.net"), "alpha-pw");
    EXPECT_NE(first, std::vector<unsigned char>(16, 0));
    EXPECT_EQ(keyOf(askV1("rand", "alpha.net"), "alpha-pw"), first);
}

TEST_F(EncryptionKeyTest, AKeyThatCannotBeEncryptedIsNotSentAndThePendingKeysStayAsTheyWere)
{
    // A first request: its copy is dropped again.
    Zxc::failNext("netEncrypt");
    expectRefused(askV1("seal", "alpha.net"), -14, "The encryption key could not be encrypted for the client");
    std::vector<unsigned char> first = keyOf(askV1("seal", "alpha.net"), "alpha-pw");

    // A second request: the key waits again for a request that can receive it.
    Zxc::failNext("netEncrypt");
    expectRefused(askV1("seal", "alpha.net"), -14, "The encryption key could not be encrypted for the client");
    EXPECT_EQ(keyOf(askV1("seal", "alpha.net"), "alpha-pw"), first);
    // And the pair is complete: a new key now.
    std::vector<unsigned char> next = keyOf(askV1("seal", "alpha.net"), "alpha-pw");
    EXPECT_NE(next, first);
    EXPECT_EQ(keyOf(askV1("seal", "alpha.net"), "alpha-pw"), next);
}

TEST_F(EncryptionKeyTest, KeySizeOfTheClientIsValidated)
{
    for (int size : {0, -1, 65}) {
        const std::string name = "odd" + std::to_string(size);
        HostClientSeed odd = addClient(name, name, "", true, 2, size);
        expectRefused(askV2("size", odd.name, odd.id), -6, "Invalid encryption key size");
    }
    HostClientSeed widest = addClient("widest", "widest", "", true, 2, 64);
    // Looked up by name when the request carries no client id.
    Answer a = askV2("size", "widest", 0);
    EXPECT_EQ(a.keySize, 64);
    EXPECT_EQ(keyOf(askV2("size", "widest", widest.id), ""), keyOf(a, ""));
}

TEST_F(EncryptionKeyTest, EncryptionOffGivesNoKeyAndKeepsNothing)
{
    HostClientSeed off = addClient("off", "off", "off-pw", false);
    ZXPlatformInfo::setValue("~ReplicationMgr", "nMaxPendingEKeys", "1");
    for (int i = 0; i < 2; ++i) {
        Answer a = askV2("off" + std::to_string(i), "off", off.id);
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.keySize, 0);
        EXPECT_EQ(a.cipher, 0);
        EXPECT_FALSE(a.hasText);
        EXPECT_EQ(a.encrypted, 0);
    }
    EXPECT_EQ(LogEntriesWith("encryption is not enabled").size(), 2u);
    // The one place the limit allows is still free.
    std::vector<unsigned char> key = keyOf(askV1("after-off", "alpha.net"), "alpha-pw");
    EXPECT_EQ(keyOf(askV1("after-off", "alpha.net"), "alpha-pw"), key);
}

TEST_F(EncryptionKeyTest, PendingKeysAreBoundedAndTheirPartnersStillServed)
{
    ZXPlatformInfo::setValue("~ReplicationMgr", "nMaxPendingEKeys", "2");
    std::vector<unsigned char> one = keyOf(askV1("bound-1", "alpha.net"), "alpha-pw");
    std::vector<unsigned char> two = keyOf(askV1("bound-2", "alpha.net"), "alpha-pw");
    expectRefused(askV1("bound-3", "alpha.net"), -5, "Too many encryption keys are waiting for their second request");
    EXPECT_EQ(keyOf(askV1("bound-2", "alpha.net"), "alpha-pw"), two);
    std::vector<unsigned char> three = keyOf(askV1("bound-3", "alpha.net"), "alpha-pw");
    EXPECT_EQ(keyOf(askV1("bound-1", "alpha.net"), "alpha-pw"), one);
    EXPECT_EQ(keyOf(askV1("bound-3", "alpha.net"), "alpha-pw"), three);
}

TEST_F(EncryptionKeyTest, LookupFailuresAreRefusedAndKeepTheKeyPending)
{
    std::vector<unsigned char> made = keyOf(askV2("lookups", "alpha", alpha.id), "alpha-pw");

    expectRefused(askV2("lookups", "nobody", 0), -2, "Cannot find the host name in the DH DB");
    HostConfig::failNext("getClientEncryption");
    expectRefused(askV2("lookups", "alpha", alpha.id), -17, "App Manager failed to check if encryption is enabled");
    HostConfig::failNext("getDataEncType");
    expectRefused(askV2("lookups", "alpha", alpha.id), -17, "Failed to get the cypher type");
    HostConfig::failNext("getDataKeyLen");
    expectRefused(askV2("lookups", "alpha", alpha.id), -17, "Failed to get the encryption key size");
    EXPECT_EQ(LogEntriesWith("ClientProperties::getDataKeyLen() call failed").size(), 1u);

    EXPECT_EQ(keyOf(askV2("lookups", "alpha", alpha.id), "alpha-pw"), made);
}

}  // namespace
