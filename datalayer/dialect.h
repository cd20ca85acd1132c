#pragma once
#include <QDate>
#include <QString>

// Statements are composed in the old engine's dialect and turned into SQLite text here,
// in one place, just before the engine sees them.

// Translates one statement: #date# literals become quoted 'yyyy-MM-dd' (with ' HH:mm:ss'
// when a time is given; a blank keeps one apart from a neighbouring quote), the words
// true/false become 1/0 and "delete * from" becomes "delete from". Quoted text and quoted
// or bracketed names are never changed. A statement with an unterminated quote is returned
// unchanged so that the engine reports it.
// Throws DbError when a # does not start a valid date literal.
QString TranslateSql(const QString &sql);

// The value between single quotes with every embedded quote doubled: O'Brien -> 'O''Brien'.
QString QuotedStr(const QString &value);

// The date as a literal for conditions: #yyyy-MM-dd# ("##", refused by TranslateSql, when invalid).
QString DateLiteral(const QDate &date);
