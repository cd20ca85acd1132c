// The password cipher on any bytes: deciphering never fails but for a pair that is no hex
// number, and every text whose GBK bytes hold neither 00 nor FF comes back as it went in.
#include "datalayer/gbk.h"
#include "datalayer/numbertext.h"
#include "fuzz/fuzzcheck.h"
#include "users/uncryp.h"

#include <algorithm>
#include <cstdint>

namespace {

// The refusal names the pair of characters as it stands in the ciphertext.
void CheckRefusal(const ConvertError &e)
{
    const QString tail = QStringLiteral("' is not a valid integer value");
    const qsizetype pair = e.text().size() - 1 - tail.size();
    FUZZ_CHECK(e.text().startsWith(u'\'') && e.text().endsWith(tail) && (pair == 1 || pair == 2), e.text());
}

bool Ambiguous(const QByteArray &plain)
{
    return plain.contains('\0') || plain.contains('\xff');
}

} // namespace

// The first byte gives the seed, the second the key length (0: the default key), then the key
// and the rest: taken as ciphertext, as plain bytes, and as UTF-8 text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const quint8 seed = data[0];
    const size_t keySize = std::min<size_t>(data[1] % 16, size - 2);
    const QByteArray key(reinterpret_cast<const char *>(data + 2), qsizetype(keySize));
    const QByteArray rest(reinterpret_cast<const char *>(data + 2 + keySize), qsizetype(size - 2 - keySize));

    try {
        DecipherHex(rest, key);
    } catch (const ConvertError &e) {
        CheckRefusal(e);
    }
    const QString text = QString::fromUtf8(rest);
    try {
        DecipherHex(text);
    } catch (const ConvertError &e) {
        CheckRefusal(e);
    }

    if (!Ambiguous(rest)) {
        const QByteArray cipher = EncipherHexWithSeed(rest, key, seed);
        FUZZ_CHECK(cipher.size() == 2 + 2 * rest.size(), QString::fromLatin1(cipher));
        FUZZ_CHECK(DecipherHex(cipher, key) == rest, "bytes " + QString::fromLatin1(rest.toHex()));
    }
    const QByteArray gbk = ToGbk(text);
    if (FromGbk(gbk) == text && !Ambiguous(gbk))
        FUZZ_CHECK(DecipherHex(EncipherHex(text)) == text, "text " + text);
    return 0;
}
