#pragma once
#include <QByteArray>
#include <QString>

// The program's files and ciphers work on code page 936 (GBK) bytes.
QByteArray ToGbk(const QString &text);
QString FromGbk(const QByteArray &bytes);
