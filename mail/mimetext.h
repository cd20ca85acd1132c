#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The texts an Internet mail is made of: dates, identifiers, addresses, encoded words
// and Base64 lines. Plain functions, so each rule can be checked by a table.

// "Tue, 5 May 2009 14:05:07 +0800": English names, the offset of the time given, "GMT" for 0.
QString DateText(const QDateTime &time);
// "<TSY.2009.05.05.abcdefghijklmnop@a.b.c>" for the date given, with fresh random letters.
QString NewMessageId(const QDate &day);
// "--_TSY_bound_" and 12 fresh random letters.
QString NewBoundary();

// One address without comments and display name; with wrap, inside "<" and ">".
QString CleanAddress(const QString &address, bool wrap = false);
// A comma-separated address list as bare lower-case addresses; empty pieces are dropped.
QStringList ParseAddressList(const QString &list);

// A header value that cannot start another header: control characters become blanks.
QString HeaderSafe(const QString &value);
// The text in RFC 2047 encoded words of the charset, each at most 75 characters long (the
// first at most firstRoom, what the header's name leaves of its line) and never splitting a
// character.
QStringList EncodedWords(const QString &text, const QString &charset, qsizetype firstRoom = 75);
// "From: " with the display name as a quoted string, or as encoded words when it is not
// ASCII, then the address in angle brackets; one or more header lines.
QStringList FromHeader(const QString &displayName, const QString &address, const QString &charset);
// A header whose value is text: ASCII stays as it is; otherwise encoded words, folded.
QStringList TextHeader(const QString &name, const QString &value, const QString &charset, bool encode);

// Base64 in lines of 76 characters; the last line may be shorter. Nothing for no bytes.
QList<QByteArray> Base64Lines(const QByteArray &bytes);
// The text's bytes in the charset; an unknown charset name falls back to UTF-8, and
// charset then names what was used.
QByteArray EncodeText(const QString &text, QString &charset);
// Bare CR and bare LF become CR LF.
QString NormaliseLineBreaks(const QString &text);
