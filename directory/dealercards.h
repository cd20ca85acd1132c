#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class Connection;
class Query;

// The cards of the local table TeaGG: the statements that read and replace them.

// Every card, for the list.
inline const QString kDealerListStatement = QStringLiteral("select * from TeaGG");
// The cards of one slot (the text of a number 0 to 49 places a card on that tile).
QString DealerSlotStatement(const QString &slot);
// The fourteen text columns a refresh writes, in the order of DealerInsertStatement's values.
const QStringList &DealerInsertColumns();
QString DealerInsertStatement(const QStringList &values);

// The ten fields of the card window's table, with their captions.
const QStringList &CardColumns();
const QStringList &CardCaptions();

// One card as the card window shows it.
struct DealerCard {
    QStringList values; // CardColumns(), in order
    QString intro;      // 简介
    QByteArray logo;    // JPEG bytes, empty when none
};
// The card of the query's current row; throws DbError when a column is missing.
DealerCard CurrentCard(const Query &query);

// What a tile needs to know of its slot.
struct TileSource {
    int slot = 0;
    bool entry = false; // a card has this slot
    QByteArray logo;    // the card's logo, empty when none
    QString company;
};
// The sources of the given slots (0 to 49), read in one statement; the first card of a slot
// wins, as a look-up by slot would find it. Throws DbError.
std::vector<TileSource> ReadTileSources(Connection &conn, const QList<int> &numbers);
// Every slot of the wall, 0 to 49.
QList<int> AllSlots();
