#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/crypto/Zxc.h"

namespace {

std::vector<unsigned char> bytesOf(const ZxcBucket& b) { return {b.getData(), b.getData() + b.getSize()}; }

ZxcBucket keyOf16()
{
    const unsigned char key[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                   0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    return ZxcBucket(key, sizeof key);
}

TEST(NetEncrypt, DecryptsWithThePasswordOnly)
{
    ZxcBucket key = keyOf16();
    ZxcBucket sealed = Zxc::netEncrypt(key, "s3cret");
    ASSERT_EQ(sealed.getSize(), 16 + Zxc::NetOverheadBytes);

    ZxcBucket plain;
    ASSERT_TRUE(Zxc::netDecrypt(sealed, "s3cret", plain));
    EXPECT_EQ(bytesOf(plain), bytesOf(key));

    EXPECT_FALSE(Zxc::netDecrypt(sealed, "s3creT", plain));
    EXPECT_EQ(plain.getSize(), 0u);
    EXPECT_FALSE(Zxc::netDecrypt(sealed, "", plain));
}

TEST(NetEncrypt, OneFlippedByteAnywhereIsRefused)
{
    ZxcBucket sealed = Zxc::netEncrypt(keyOf16(), "s3cret");
    ASSERT_EQ(sealed.getSize(), 16 + Zxc::NetOverheadBytes);
    // In the salt, the nonce, the ciphertext and the tag.
    const size_t positions[] = {0, Zxc::NetSaltBytes, Zxc::NetSaltBytes + Zxc::NetNonceBytes, sealed.getSize() - 1};
    for (size_t pos : positions) {
        ZxcBucket changed(sealed);
        changed.getData()[pos] ^= 0x01;
        ZxcBucket plain;
        EXPECT_FALSE(Zxc::netDecrypt(changed, "s3cret", plain)) << "byte " << pos;
    }
    ZxcBucket truncated(sealed.getData(), sealed.getSize() - 1);
    ZxcBucket plain;
    EXPECT_FALSE(Zxc::netDecrypt(truncated, "s3cret", plain));
    EXPECT_FALSE(Zxc::netDecrypt(ZxcBucket(Zxc::NetOverheadBytes - 1), "s3cret", plain));
}

TEST(NetEncrypt, EachCallDrawsItsOwnSaltAndNonce)
{
    ZxcBucket key = keyOf16();
    ZxcBucket a = Zxc::netEncrypt(key, "pw");
    ZxcBucket b = Zxc::netEncrypt(key, "pw");
    ASSERT_EQ(a.getSize(), b.getSize());
    EXPECT_NE(bytesOf(a), bytesOf(b));
    std::vector<unsigned char> saltA(a.getData(), a.getData() + Zxc::NetSaltBytes);
    std::vector<unsigned char> saltB(b.getData(), b.getData() + Zxc::NetSaltBytes);
    EXPECT_NE(saltA, saltB);

    ZxcBucket plain;
    ASSERT_TRUE(Zxc::netDecrypt(b, "pw", plain));
    EXPECT_EQ(bytesOf(plain), bytesOf(key));

    ZxcBucket empty = Zxc::netEncrypt(ZxcBucket(), "pw");
    ASSERT_EQ(empty.getSize(), Zxc::NetOverheadBytes);
    EXPECT_TRUE(Zxc::netDecrypt(empty, "pw", plain));
    EXPECT_EQ(plain.getSize(), 0u);
}

TEST(Scramble, DocumentedTransformAndItsInverse)
{
    const unsigned char two[2] = {0x01, 0x02};
    ZxcBucket s = Zxc::scrambleToBin(two, 2);
    // out[0] = rotl3(0x02) ^ 0x5A, out[1] = rotl3(0x01) ^ (0x5A + 29)
    EXPECT_EQ(bytesOf(s), (std::vector<unsigned char>{0x4A, 0x7F}));

    std::vector<unsigned char> all(300);
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<unsigned char>(i * 7);
    ZxcBucket scrambled = Zxc::scrambleToBin(all.data(), all.size());
    EXPECT_NE(bytesOf(scrambled), all);
    ZxcBucket back = Zxc::unscrambleFromBin(scrambled.getData(), scrambled.getSize());
    EXPECT_EQ(bytesOf(back), all);

    EXPECT_EQ(Zxc::scrambleToBin(nullptr, 4).getSize(), 0u);
}

TEST(Scramble, HexTextOfTheScrambledBytes)
{
    const unsigned char bytes[3] = {0x00, 0xab, 0xff};
    EXPECT_EQ(Zxc::bin2hex(bytes, 3), "00abff");
    EXPECT_EQ(Zxc::bin2hex(nullptr, 3), "");
    EXPECT_EQ(Zxc::scrambleToHex(ZxcBucket(bytes, 3)), Zxc::bin2hex(Zxc::scrambleToBin(bytes, 3).getData(), 3));
    EXPECT_EQ(Zxc::scrambleToHex(ZxcBucket()), "");
}

TEST(Random, FreshBytesEachDraw)
{
    ZxcBucket a = Zxc::getRand(32);
    ZxcBucket b = Zxc::getRand(32);
    ASSERT_EQ(a.getSize(), 32u);
    EXPECT_NE(bytesOf(a), bytesOf(b));
    EXPECT_NE(bytesOf(a), std::vector<unsigned char>(32, 0));

    unsigned char raw[16] = {};
    ASSERT_TRUE(Zxc::getRand(raw, sizeof raw));
    EXPECT_NE(std::vector<unsigned char>(raw, raw + 16), std::vector<unsigned char>(16, 0));
}

TEST(Bucket, OwnsCopiesAndHandsOverItsBytes)
{
    unsigned char source[4] = {1, 2, 3, 4};
    ZxcBucket a(source, 4);
    source[0] = 9;
    EXPECT_EQ(a.getData()[0], 1);  // a copy, not a view

    ZxcBucket b(a);
    b.getData()[1] = 7;
    EXPECT_EQ(a.getData()[1], 2);
    ZxcBucket c(2);
    EXPECT_EQ(bytesOf(c), (std::vector<unsigned char>{0, 0}));
    c = a;
    EXPECT_EQ(bytesOf(c), bytesOf(a));
    c = c;  // self-assignment keeps the bytes
    EXPECT_EQ(bytesOf(c), bytesOf(a));

    ZxcBucket moved(std::move(b));
    EXPECT_EQ(b.getSize(), 0u);
    EXPECT_EQ(b.getData(), nullptr);
    EXPECT_EQ(moved.getData()[1], 7);

    unsigned char* raw = moved.detach();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw[3], 4);
    EXPECT_EQ(moved.getSize(), 0u);
    EXPECT_EQ(moved.getData(), nullptr);
    delete[] raw;
    EXPECT_EQ(ZxcBucket().detach(), nullptr);
}

}  // namespace
