#include "users/uncryp.h"

#include "datalayer/gbk.h"
#include "datalayer/numbertext.h"

#include <QRandomGenerator>

#include <charconv>

namespace {

const QByteArray &EffectiveKey(const QByteArray &key)
{
    return key.isEmpty() ? kDefaultCipherKey : key;
}

const QByteArray &PasswordKey()
{
    static const QByteArray key = ToGbk(QStringLiteral("钥匙k"));
    return key;
}

// One or two hex digits; anything else (blanks, signs, other letters) is an error naming
// the pair as it stands in the ciphertext.
quint8 HexPair(const QString &pair)
{
    const QByteArray latin = pair.toLatin1();
    unsigned value = 0;
    const char *end = latin.constData() + latin.size();
    const auto result = std::from_chars(latin.constData(), end, value, 16);
    // Characters outside Latin-1 become '?', which is no digit either.
    if (latin.isEmpty() || result.ec != std::errc() || result.ptr != end)
        throw ConvertError::invalidInteger(pair);
    return quint8(value);
}

// Works on text so that an error names the characters the caller gave.
QByteArray DecipherText(const QString &cipher, const QByteArray &key)
{
    const QByteArray &k = EffectiveKey(key);
    if (cipher.size() <= 2)
        return {};

    quint8 prev = HexPair(cipher.left(2));
    QByteArray plain;
    qsizetype keyIndex = 0;
    // The first pair is always read, each further one only while it starts inside the text,
    // so a trailing odd character is ignored.
    for (qsizetype pos = 2; pos == 2 || pos + 1 < cipher.size(); pos += 2) {
        const quint8 c = HexPair(cipher.mid(pos, 2));
        const quint8 x = c ^ quint8(k.at(keyIndex));
        keyIndex = (keyIndex + 1) % k.size();
        const int p = x > prev ? x - prev : x + 255 - prev;
        plain.append(char(p));
        prev = c;
    }
    return plain;
}

} // namespace

QByteArray EncipherHexWithSeed(const QByteArray &plain, const QByteArray &key, quint8 seed)
{
    const QByteArray &k = EffectiveKey(key);
    QByteArray bytes;
    bytes.reserve(plain.size() + 1);
    bytes.append(char(seed));
    quint8 prev = seed;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        // Modulo 255, not 256: that is what the stored passwords were made with.
        const quint8 s = quint8((quint8(plain.at(i)) + prev) % 255);
        const quint8 c = s ^ quint8(k.at(i % k.size()));
        bytes.append(char(c));
        prev = c;
    }
    return bytes.toHex().toUpper();
}

QByteArray EncipherHex(const QByteArray &plain, const QByteArray &key)
{
    return EncipherHexWithSeed(plain, key, quint8(QRandomGenerator::global()->bounded(256)));
}

QByteArray DecipherHex(const QByteArray &cipher, const QByteArray &key)
{
    return DecipherText(QString::fromLatin1(cipher), key);
}

QString EncipherHex(const QString &plain)
{
    return QString::fromLatin1(EncipherHex(ToGbk(plain), PasswordKey()));
}

QString DecipherHex(const QString &cipher)
{
    return FromGbk(DecipherText(cipher, PasswordKey()));
}
