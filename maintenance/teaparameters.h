#pragma once
#include <QString>
#include <array>
#include <vector>

class Connection;

// The three reference lists the choice boxes of other screens offer: one text column each.
struct TeaList {
    QString table;
    QString column;
};

// Varieties, origins and packaging, in the order the window shows them.
const std::array<TeaList, 3> &TeaLists();

struct TeaEntry {
    qint64 id;
    QString text;
};

// Every entry in the order stored.
std::vector<TeaEntry> ReadTeaList(Connection &conn, const TeaList &list);

QString AddTeaEntryStatement(const TeaList &list, const QString &text);
// One entry, by its key.
QString DeleteTeaEntryStatement(const TeaList &list, qint64 id);
// Every entry holding the text.
QString DeleteTeaEntriesStatement(const TeaList &list, const QString &text);
