#include "reporting/compounddocument.h"

#include <QtEndian>
#include <vector>

namespace {

constexpr int kSector = 512;
constexpr int kIdsPerSector = kSector / 4;
constexpr int kHeaderDifat = 109;
constexpr int kMiniStreamCutoff = 4096;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

QByteArray directoryEntry(const QString &name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    QByteArray e;
    if (type != 0) {
        const QString n = name.left(31);
        for (QChar c : n)
            put16(e, c.unicode());
        put16(e, 0);
    }
    e.append(64 - e.size(), '\0');
    put16(e, type ? quint16((name.left(31).size() + 1) * 2) : 0);
    e.append(char(type));
    e.append(char(type ? 1 : 0)); // black
    put32(e, kNoStream);          // left sibling
    put32(e, kNoStream);          // right sibling
    put32(e, child);
    e.append(16 + 4 + 8 + 8, '\0'); // class id, state bits, creation and modification times
    put32(e, start);
    put32(e, size);
    put32(e, 0); // high half of the size: version 3 files keep it zero
    return e;
}

} // namespace

QByteArray CompoundDocument(const QString &streamName, QByteArray stream)
{
    if (stream.size() < kMiniStreamCutoff)
        stream.append(kMiniStreamCutoff - stream.size(), '\0');
    const quint32 streamSize = quint32(stream.size());
    if (stream.size() % kSector)
        stream.append(kSector - stream.size() % kSector, '\0');

    // Sectors: the stream, one directory sector, the FAT, then DIFAT sectors when the FAT
    // outgrows the header's 109 slots.
    const int streamSectors = int(stream.size() / kSector);
    const int dirSector = streamSectors;
    int fatSectors = 1;
    int difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifat ? (fatSectors - kHeaderDifat + kIdsPerSector - 2) / (kIdsPerSector - 1) : 0;
        if (streamSectors + 1 + fatSectors + difatSectors <= fatSectors * kIdsPerSector)
            break;
        ++fatSectors;
    }
    const int firstFat = dirSector + 1;
    const int firstDifat = firstFat + fatSectors;

    std::vector<quint32> fat(size_t(fatSectors) * kIdsPerSector, kFree);
    for (int i = 0; i < streamSectors; ++i)
        fat[size_t(i)] = i + 1 < streamSectors ? quint32(i + 1) : kEndOfChain;
    fat[size_t(dirSector)] = kEndOfChain;
    for (int i = 0; i < fatSectors; ++i)
        fat[size_t(firstFat + i)] = kFatSector;
    for (int i = 0; i < difatSectors; ++i)
        fat[size_t(firstDifat + i)] = kDifatSector;

    QByteArray out;
    out.reserve((1 + streamSectors + 1 + fatSectors + difatSectors) * kSector);
    out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out.append(16, '\0');        // class id
    put16(out, 0x003E);          // minor version
    put16(out, 0x0003);          // major version: 512-byte sectors
    put16(out, 0xFFFE);          // byte order mark
    put16(out, 9);               // sector shift
    put16(out, 6);               // mini sector shift
    out.append(6, '\0');
    put32(out, 0);               // directory sectors (always 0 in version 3)
    put32(out, quint32(fatSectors));
    put32(out, quint32(dirSector));
    put32(out, 0);               // transaction signature
    put32(out, kMiniStreamCutoff);
    put32(out, kEndOfChain);     // no mini FAT
    put32(out, 0);
    put32(out, difatSectors ? quint32(firstDifat) : kEndOfChain);
    put32(out, quint32(difatSectors));
    for (int i = 0; i < kHeaderDifat; ++i)
        put32(out, i < fatSectors ? quint32(firstFat + i) : kFree);

    out.append(stream);

    out.append(directoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0));
    out.append(directoryEntry(streamName, 2, kNoStream, 0, streamSize));
    out.append(directoryEntry(QString(), 0, kNoStream, 0, 0));
    out.append(directoryEntry(QString(), 0, kNoStream, 0, 0));

    for (quint32 id : fat)
        put32(out, id);

    int fatIndex = kHeaderDifat;
    for (int d = 0; d < difatSectors; ++d) {
        for (int i = 0; i < kIdsPerSector - 1; ++i, ++fatIndex)
            put32(out, fatIndex < fatSectors ? quint32(firstFat + fatIndex) : kFree);
        put32(out, d + 1 < difatSectors ? quint32(firstDifat + d + 1) : kEndOfChain);
    }
    return out;
}
