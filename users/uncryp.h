#pragma once
#include <QByteArray>
#include <QString>

// The key used when the caller passes an empty one.
inline const QByteArray kDefaultCipherKey = "Maple   Stone";

// Enciphers plain bytes under key into uppercase hex digits: a random seed byte, then one
// byte per plain byte. The same text gives a different result each time.
// Each byte is added to the one before modulo 255, as the stored passwords were made, so
// bytes 0 and 255 give the same sum and come back as either; every other byte round-trips.
// A text whose GBK bytes hold FF (some private-use characters such as U+F8F5) or 00 may
// therefore come back changed; no keyboard types them, and changing the rule would make
// every stored password unreadable, so it stays.
QByteArray EncipherHex(const QByteArray &plain, const QByteArray &key);
// Turns EncipherHex output back into the plain bytes; upper- and lowercase digits are read.
// Throws ConvertError when a pair is not a hexadecimal number.
QByteArray DecipherHex(const QByteArray &cipher, const QByteArray &key);

// EncipherHex on the GBK bytes of plain under the program's password key.
QString EncipherHex(const QString &plain);
// DecipherHex under the program's password key, read back from GBK.
QString DecipherHex(const QString &cipher);

// EncipherHex with a chosen seed byte, so tests can check exact ciphertexts.
QByteArray EncipherHexWithSeed(const QByteArray &plain, const QByteArray &key, quint8 seed);
