#include "users/uncryp.h"

#include "datalayer/gbk.h"
#include "datalayer/numbertext.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// A one-byte zero key leaves the XOR out, so the sums can be read off directly.
const QByteArray kZeroKey(1, '\0');

QByteArray PasswordKey()
{
    return ToGbk(QStringLiteral("钥匙k"));
}

struct SeededCase {
    QByteArray plain;
    QByteArray key;
    quint8 seed;
    const char *cipher;
};

// Worked by hand from the cipher's rules.
const SeededCase kSeededCases[] = {
    {"", "abcde", 0x3C, "3C"},
    // (100 + 200) mod 255 = 45, not 44 as modulo 256 would give.
    {QByteArray(1, char(100)), kZeroKey, 200, "C82D"},
    {"a", kZeroKey, 10, "0A6B"},
    // The sixth byte meets the first key byte again: E1 ^ 61 = 80.
    {"hello!", "abcde", 10, "0A131AE536C080"},
    // An empty key is the default key.
    {"pw", "", 7, "073AD0"},
    {"pw", kDefaultCipherKey, 7, "073AD0"},
    // Bytes 0 and 255 give the same sum.
    {QByteArray(1, '\0'), kZeroKey, 5, "0505"},
    {QByteArray(1, char(255)), kZeroKey, 5, "0505"},
    {QByteArray(1, '\0'), kZeroKey, 255, "FF00"},
    {QByteArray(1, char(255)), kZeroKey, 255, "FF00"},
    // A Chinese password of two characters is four bytes.
    {ToGbk(QStringLiteral("密码")), PasswordKey(), 0x5A, "5ACA186982"},
};

TEST(UncrypTest, EnciphersWithSeedAsWorkedByHand)
{
    for (const SeededCase &c : kSeededCases) {
        EXPECT_EQ(EncipherHexWithSeed(c.plain, c.key, c.seed), QByteArray(c.cipher))
            << "plain " << c.plain.toHex().constData() << " seed " << int(c.seed);
    }
}

TEST(UncrypTest, DeciphersHandWorkedTexts)
{
    for (const SeededCase &c : kSeededCases) {
        // 0 comes back as 255, except after FF, where 255 comes back as 0.
        QByteArray expected = c.plain;
        if (expected.size() == 1 && (expected[0] == '\0' || expected[0] == char(255)))
            expected[0] = c.seed == 255 ? '\0' : char(255);
        EXPECT_EQ(DecipherHex(QByteArray(c.cipher), c.key), expected) << c.cipher;
        EXPECT_EQ(DecipherHex(QByteArray(c.cipher).toLower(), c.key), expected) << c.cipher;
    }
}

// Every typeable byte survives under every seed and both key lengths, the key wrapping
// several times over the 254 bytes.
TEST(UncrypTest, RoundTripsEveryByteUnderEverySeed)
{
    QByteArray plain;
    for (int b = 1; b <= 254; ++b)
        plain.append(char(b));
    for (const QByteArray &key : {PasswordKey(), kDefaultCipherKey, QByteArray("k")}) {
        for (int seed = 0; seed <= 255; ++seed) {
            const QByteArray cipher = EncipherHexWithSeed(plain, key, quint8(seed));
            ASSERT_EQ(DecipherHex(cipher, key), plain) << "seed " << seed << " key " << key.toHex().constData();
        }
    }
}

TEST(UncrypTest, CipherIsUppercaseHexOfTwoPlusTwoN)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-F]*$"));
    for (const QByteArray &plain : {QByteArray(), QByteArray("a"), QByteArray("secret"),
                                    ToGbk(QStringLiteral("密码123")), QByteArray(40, 'z')}) {
        for (int i = 0; i < 20; ++i) {
            const QByteArray cipher = EncipherHex(plain, PasswordKey());
            ASSERT_EQ(cipher.size(), 2 + 2 * plain.size());
            ASSERT_TRUE(hex.match(QString::fromLatin1(cipher)).hasMatch()) << cipher.constData();
            ASSERT_EQ(DecipherHex(cipher, PasswordKey()), plain);
        }
    }
}

TEST(UncrypTest, SamePasswordEnciphersDifferently)
{
    QSet<QByteArray> ciphers;
    for (int i = 0; i < 20; ++i) {
        const QByteArray cipher = EncipherHex(QByteArray("admin"), PasswordKey());
        EXPECT_EQ(DecipherHex(cipher, PasswordKey()), QByteArray("admin"));
        ciphers.insert(cipher);
    }
    // Twenty equal seeds out of 256 would be a broken random source.
    EXPECT_GT(ciphers.size(), 1);
}

TEST(UncrypTest, EmptyKeyIsDefaultKey)
{
    const QByteArray plain = ToGbk(QStringLiteral("茶叶tea"));
    for (int seed : {0, 77, 255}) {
        const QByteArray cipher = EncipherHexWithSeed(plain, QByteArray(), quint8(seed));
        EXPECT_EQ(cipher, EncipherHexWithSeed(plain, "Maple   Stone", quint8(seed)));
        EXPECT_EQ(DecipherHex(cipher, QByteArray()), plain);
        EXPECT_EQ(DecipherHex(cipher, "Maple   Stone"), plain);
    }
    const QByteArray random = EncipherHex(plain, QByteArray());
    EXPECT_EQ(DecipherHex(random, "Maple   Stone"), plain);
}

struct ShortCase {
    const char *cipher;
    QByteArray plain;
};

const ShortCase kShortCases[] = {
    {"", ""},
    {"0", ""},
    {"0A", ""},
    // Three characters: the third is one digit, 6; 6 + 255 - 10 = 251.
    {"0A6", QByteArray(1, char(251))},
    {"0A6B", "a"},
    // Five or more: the last odd character is ignored.
    {"0A6B7", "a"},
    {"0A6BZ", "a"},
    // Seven: two pairs; 6B after 6B is 255.
    {"0A6B6B7", QByteArray("a") + char(255)},
};

TEST(UncrypTest, ShortAndOddLengthTexts)
{
    for (const ShortCase &c : kShortCases)
        EXPECT_EQ(DecipherHex(QByteArray(c.cipher), kZeroKey), c.plain) << "\"" << c.cipher << "\"";
}

struct BadCase {
    const char *cipher;
    const char *pair;
};

const BadCase kBadCases[] = {
    {"G1AB", "G1"},
    {"0AG1", "G1"},
    {"0A6BZZ", "ZZ"},
    {"0A6BZ1", "Z1"},
    {"0A 1", " 1"},
    {"0A-1", "-1"},
    {"0A+1", "+1"},
    {"0A0x", "0x"},
    {"0Ag", "g"},
    {"0A钥1", "钥1"},
};

TEST(UncrypTest, NonHexPairNamesThePair)
{
    for (const BadCase &c : kBadCases) {
        const QString cipher = QString::fromUtf8(c.cipher);
        const QString message = QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(c.pair));
        try {
            DecipherHex(cipher);
            ADD_FAILURE() << "no error for " << c.cipher;
        } catch (const ConvertError &error) {
            EXPECT_EQ(error.text(), message) << c.cipher;
        }
        if (cipher.toLatin1() == cipher.toUtf8()) {
            EXPECT_THROW(DecipherHex(cipher.toLatin1(), kZeroKey), ConvertError) << c.cipher;
        }
    }
}

TEST(UncrypTest, PasswordTextsUseTheProgramKey)
{
    const QString password = QStringLiteral("密码");
    const QString cipher = EncipherHex(password);
    EXPECT_EQ(cipher.size(), 10);
    EXPECT_EQ(DecipherHex(cipher), password);
    EXPECT_EQ(DecipherHex(cipher.toLower()), password);
    EXPECT_EQ(DecipherHex(cipher.toLatin1(), PasswordKey()), ToGbk(password));
    EXPECT_EQ(DecipherHex(QString::fromLatin1(EncipherHexWithSeed(ToGbk(password), PasswordKey(), 0x5A))),
              password);
    EXPECT_EQ(DecipherHex(QStringLiteral("5ACA186982")), password);
    EXPECT_EQ(EncipherHex(QString()).size(), 2);
    EXPECT_EQ(DecipherHex(EncipherHex(QString())), QString());
}

} // namespace
