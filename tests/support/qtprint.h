#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable test failures for Qt's texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}
