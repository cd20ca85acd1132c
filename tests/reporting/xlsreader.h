#pragma once
#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

// An independent reader of what the xls writer makes, strict about the container's rules,
// so the tests see the file as another program would.
namespace xlsread {

inline quint16 u16(const QByteArray &b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        throw std::runtime_error("read past the end");
    return qFromLittleEndian<quint16>(b.constData() + at);
}

inline quint32 u32(const QByteArray &b, qsizetype at)
{
    if (at < 0 || at + 4 > b.size())
        throw std::runtime_error("read past the end");
    return qFromLittleEndian<quint32>(b.constData() + at);
}

struct Compound {
    std::vector<quint32> fat;
    std::set<quint32> fatSectors;
    int difatSectors = 0;
};

// The named stream of a version-3 compound document; throws on any broken rule.
inline QByteArray Stream(const QByteArray &file, const QString &name, Compound *info = nullptr)
{
    if (!file.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        throw std::runtime_error("no compound document signature");
    if (u16(file, 0x1A) != 3 || u16(file, 0x1C) != 0xFFFE || u16(file, 0x1E) != 9 || u16(file, 0x20) != 6)
        throw std::runtime_error("not a version 3 file with 512-byte sectors");
    if ((file.size() - 512) % 512)
        throw std::runtime_error("file is not a whole number of sectors");
    auto sector = [&](quint32 s) {
        const qsizetype at = 512 + qsizetype(s) * 512;
        if (at + 512 > file.size())
            throw std::runtime_error("sector outside the file");
        return file.mid(at, 512);
    };
    const quint32 fatCount = u32(file, 0x2C);
    std::vector<quint32> fatList;
    for (int i = 0; i < 109 && fatList.size() < fatCount; ++i)
        fatList.push_back(u32(file, 0x4C + i * 4));
    Compound c;
    quint32 difat = u32(file, 0x44);
    const quint32 difatCount = u32(file, 0x48);
    while (fatList.size() < fatCount) {
        if (difat >= 0xFFFFFFFA || quint32(c.difatSectors) >= difatCount)
            throw std::runtime_error("DIFAT chain ends early");
        const QByteArray d = sector(difat);
        for (int i = 0; i < 127 && fatList.size() < fatCount; ++i)
            fatList.push_back(u32(d, i * 4));
        difat = u32(d, 127 * 4);
        ++c.difatSectors;
    }
    for (quint32 s : fatList) {
        const QByteArray f = sector(s);
        for (int i = 0; i < 128; ++i)
            c.fat.push_back(u32(f, i * 4));
        c.fatSectors.insert(s);
    }
    for (quint32 s : c.fatSectors)
        if (s >= c.fat.size() || c.fat[s] != 0xFFFFFFFD)
            throw std::runtime_error("FAT sector not marked as such");
    auto chain = [&](quint32 start, qsizetype size) {
        QByteArray out;
        std::set<quint32> seen;
        for (quint32 s = start; s != 0xFFFFFFFE;) {
            if (s >= c.fat.size() || !seen.insert(s).second)
                throw std::runtime_error("broken sector chain");
            out += sector(s);
            s = c.fat[s];
        }
        if (size >= 0) {
            if (out.size() < size)
                throw std::runtime_error("chain shorter than the stream");
            out.truncate(size);
        }
        return out;
    };
    const QByteArray dir = chain(u32(file, 0x30), -1);
    const QByteArray root = dir.left(128);
    if (root[0x42] != 5)
        throw std::runtime_error("first directory entry is not the root");
    if (u32(file, 0x38) != 4096)
        throw std::runtime_error("unexpected mini stream cutoff");
    for (qsizetype e = 0; e + 128 <= dir.size(); e += 128) {
        const QByteArray entry = dir.mid(e, 128);
        const int nameBytes = u16(entry, 0x40);
        if (entry[0x42] != 2 || nameBytes < 2)
            continue;
        QString n;
        for (int i = 0; i + 2 < nameBytes; i += 2)
            n += QChar(u16(entry, i));
        if (n != name)
            continue;
        const quint32 size = u32(entry, 0x78);
        if (size < 4096)
            throw std::runtime_error("a short stream would belong in the mini stream");
        if (info)
            *info = c;
        return chain(u32(entry, 0x74), size);
    }
    throw std::runtime_error("stream not found");
}

struct Record {
    quint16 type;
    QByteArray data;
};

inline std::vector<Record> Records(const QByteArray &stream, qsizetype from)
{
    std::vector<Record> out;
    qsizetype at = from;
    while (at + 4 <= stream.size()) {
        const quint16 type = u16(stream, at);
        const quint16 len = u16(stream, at + 2);
        if (len > 8224 || at + 4 + len > stream.size())
            throw std::runtime_error("record too long");
        out.push_back({type, stream.mid(at + 4, len)});
        at += 4 + len;
        if (type == 0x000A)
            break;
    }
    if (out.empty() || out.back().type != 0x000A)
        throw std::runtime_error("substream without EOF");
    return out;
}

struct Cell {
    enum Kind { Label, Number, Blank } kind;
    QString text;
    double number = 0;
    quint16 xf = 0;
};

struct Sheet {
    std::map<std::pair<int, int>, Cell> cells;
    int rows = 0, columns = 0; // DIMENSIONS
    std::vector<Record> globals;
    std::vector<Record> records;
};

// The first worksheet's cells, reached through the workbook's BOUNDSHEET record.
inline Sheet ReadSheet(const QByteArray &file)
{
    const QByteArray wb = Stream(file, QStringLiteral("Workbook"));
    Sheet sheet;
    sheet.globals = Records(wb, 0);
    if (sheet.globals.front().type != 0x0809 || u16(sheet.globals.front().data, 0) != 0x0600 ||
        u16(sheet.globals.front().data, 2) != 0x0005)
        throw std::runtime_error("workbook does not start with a BIFF8 globals BOF");
    qsizetype sheetAt = -1;
    for (const Record &r : sheet.globals)
        if (r.type == 0x0085)
            sheetAt = u32(r.data, 0);
    if (sheetAt < 0)
        throw std::runtime_error("no BOUNDSHEET");
    sheet.records = Records(wb, sheetAt);
    if (sheet.records.front().type != 0x0809 || u16(sheet.records.front().data, 2) != 0x0010)
        throw std::runtime_error("BOUNDSHEET does not point at a worksheet BOF");
    for (const Record &r : sheet.records) {
        if (r.type == 0x0200) {
            sheet.rows = int(u32(r.data, 4));
            sheet.columns = u16(r.data, 10);
            continue;
        }
        if (r.type != 0x0204 && r.type != 0x0203 && r.type != 0x0201)
            continue;
        Cell cell{Cell::Blank, {}, 0, u16(r.data, 4)};
        if (r.type == 0x0204) {
            cell.kind = Cell::Label;
            const int n = u16(r.data, 6);
            if (r.data[8] != 1 || r.data.size() != 9 + 2 * n)
                throw std::runtime_error("LABEL is not a 16-bit string of its length");
            for (int i = 0; i < n; ++i)
                cell.text += QChar(u16(r.data, 9 + 2 * i));
        } else if (r.type == 0x0203) {
            cell.kind = Cell::Number;
            const quint64 bits = qFromLittleEndian<quint64>(r.data.constData() + 6);
            std::memcpy(&cell.number, &bits, sizeof bits);
        }
        if (!sheet.cells.emplace(std::pair{int(u16(r.data, 0)), int(u16(r.data, 2))}, cell).second)
            throw std::runtime_error("two records for one cell");
    }
    return sheet;
}

} // namespace xlsread
