#include "reporting/exportwriters.h"

#include "datalayer/gbk.h"
#include "reporting/compounddocument.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QStringEncoder>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

enum class RowKind { Title, Data, Footer };

// One row of the file, in file order: the title row, the data rows, the footer rows.
struct FileRow {
    RowKind kind;
    int index; // data or footer row; 0 for the title
};

std::vector<FileRow> fileRows(const GridContent &content)
{
    std::vector<FileRow> rows{{RowKind::Title, 0}};
    for (int r = 0; r < content.RowCount(); ++r)
        rows.push_back({RowKind::Data, r});
    for (int f = 0; f < content.FooterRowCount(); ++f)
        rows.push_back({RowKind::Footer, f});
    return rows;
}

ContentCell cellOf(const GridContent &content, const FileRow &row, int column)
{
    switch (row.kind) {
    case RowKind::Title: {
        ContentCell cell;
        cell.text = content.Title(column);
        return cell;
    }
    case RowKind::Data:
        return content.Cell(row.index, column);
    case RowKind::Footer:
        break;
    }
    return content.FooterCell(row.index, column);
}

bool put(QIODevice &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

// Rows of cell texts joined by a separator, each row ended by CR LF.
bool writeDelimited(const GridContent &content, QIODevice &out, const QString &separator,
                    QString (*cellText)(const QString &))
{
    QString text;
    for (const FileRow &row : fileRows(content)) {
        QStringList cells;
        for (int c = 0; c < content.ColumnCount(); ++c)
            cells << cellText(cellOf(content, row, c).text);
        text += cells.join(separator);
        text += QLatin1String("\r\n");
    }
    return put(out, ToGbk(text));
}

QString plain(const QString &text)
{
    return text;
}

QString quoted(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QColor rowBackground(const GridLook &look, const FileRow &row)
{
    switch (row.kind) {
    case RowKind::Title:
        return look.titleBackground;
    case RowKind::Footer:
        return look.footerBackground;
    case RowKind::Data:
        break;
    }
    if (!look.rowColours)
        return QColor(Qt::white);
    // record numbers are 1-based: the first row is odd, the darker shade
    return (row.index + 1) % 2 ? look.oddRow : look.evenRow;
}

int columnPixels(const GridContent &content, int column)
{
    const int w = content.ColumnWidth(column);
    return w > 0 ? w : 75;
}

// ---- htm ----

QString htmlEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += ch;
        }
    }
    return out;
}

QString htmlAlign(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("RIGHT");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("CENTER");
    return QStringLiteral("LEFT");
}

// The old FONT SIZE steps 1 to 7 for a pixel size.
int htmlFontSize(int pixels)
{
    static const int limits[] = {10, 13, 16, 18, 24, 32};
    int size = 1;
    for (int limit : limits)
        if (pixels > limit)
            ++size;
    return size;
}

// The page is named after the file it goes to, when there is one.
QString pageTitle(const QIODevice &out)
{
    if (const auto *file = qobject_cast<const QFileDevice *>(&out))
        if (!file->fileName().isEmpty())
            return QFileInfo(file->fileName()).completeBaseName();
    return QStringLiteral("data");
}

} // namespace

bool WriteTxt(const GridContent &content, QIODevice &out)
{
    return writeDelimited(content, out, QStringLiteral("\t"), plain);
}

bool WriteCsv(const GridContent &content, QIODevice &out)
{
    return writeDelimited(content, out, QStringLiteral(";"), quoted);
}

bool WriteHtm(const GridContent &content, QIODevice &out)
{
    const GridLook look = content.Look();
    const QString font = QStringLiteral("<FONT FACE=\"%1\" SIZE=%2 COLOR=\"%3\">")
                             .arg(htmlEscaped(look.fontFamily))
                             .arg(htmlFontSize(look.fontPixelSize))
                             .arg(look.text.name().toUpper());
    QString page;
    page += QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n"
                          "<HTML>\r\n<HEAD>\r\n"
                          "<META http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n");
    page += QLatin1String("<TITLE>") + htmlEscaped(pageTitle(out)) + QLatin1String("</TITLE>\r\n");
    page += QLatin1String("</HEAD>\r\n<BODY>\r\n<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2>\r\n");
    // Each row is encoded and written as it is made: a long list never sits in memory twice.
    QStringEncoder gbk("GBK");
    std::vector<QString> openData, openTitle;
    for (int c = 0; c < content.ColumnCount(); ++c) {
        const QString align = htmlAlign(content.Alignment(c));
        openData.push_back(QLatin1String("<TD ALIGN=") + align + QLatin1Char('>'));
        openTitle.push_back(QLatin1String("<TH ALIGN=") + align + QLatin1String(" WIDTH=") +
                            QString::number(columnPixels(content, c)) + QLatin1Char('>'));
    }
    for (const FileRow &row : fileRows(content)) {
        const bool title = row.kind == RowKind::Title;
        page += QLatin1String("<TR BGCOLOR=\"") + rowBackground(look, row).name().toUpper() + QLatin1String("\">\r\n");
        for (int c = 0; c < content.ColumnCount(); ++c) {
            const QString text = cellOf(content, row, c).text;
            page += title ? openTitle[size_t(c)] : openData[size_t(c)];
            if (!text.isEmpty())
                page += font + htmlEscaped(text) + QLatin1String("</FONT>");
            page += title ? QLatin1String("</TH>\r\n") : QLatin1String("</TD>\r\n");
        }
        page += QLatin1String("</TR>\r\n");
        if (!put(out, gbk.encode(page)))
            return false;
        page.clear();
    }
    page += QLatin1String("</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    return put(out, gbk.encode(page));
}

// ---- rtf ----

namespace {

// RTF text: ASCII as it is (control characters escaped), everything else as the GBK bytes
// of the declared code page; characters GBK lacks as Unicode escapes.
QByteArray rtfText(const QString &text)
{
    QByteArray out;
    thread_local QStringEncoder gbk("GBK");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == '\r') {
            continue;
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u < 0x20) {
            continue;
        } else {
            const qsizetype len = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QStringView piece(text.constData() + i, len);
            const QByteArray bytes = gbk.encode(piece);
            if (gbk.hasError() || bytes == "?") {
                gbk.resetState();
                for (qsizetype k = 0; k < len; ++k)
                    out += "\\u" + QByteArray::number(qint16(text[i + k].unicode())) + '?';
            } else {
                for (char b : bytes)
                    out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
            }
            i += len - 1;
        }
    }
    return out;
}

QByteArray rtfColour(const QColor &c)
{
    return "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
           QByteArray::number(c.blue()) + ';';
}

QByteArray rtfAlign(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return "\\qr";
    if (alignment & Qt::AlignHCenter)
        return "\\qc";
    return "\\ql";
}

} // namespace

bool WriteRtf(const GridContent &content, QIODevice &out)
{
    const GridLook look = content.Look();
    // colour table: 1 text, 2 title, 3 odd rows, 4 even rows, 5 footer, 6 white
    const QList<QColor> colours{look.text, look.titleBackground, look.oddRow, look.evenRow, look.footerBackground,
                                QColor(Qt::white)};
    auto colourIndex = [&](const QColor &c) { return QByteArray::number(colours.indexOf(c) + 1); };

    QByteArray doc = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052";
    doc += "{\\fonttbl{\\f0\\fnil\\fcharset134 " + rtfText(look.fontFamily) + ";}}\r\n";
    doc += "{\\colortbl;";
    for (const QColor &c : colours)
        doc += rtfColour(c);
    doc += "}\r\n";
    // pixels at 96 dpi: 15 twips each; the font size in half points
    const int halfPoints = qMax(2, look.fontPixelSize * 3 / 2);
    doc += "\\viewkind4\\uc1\\pard\\f0\\fs" + QByteArray::number(halfPoints) + "\r\n";

    QByteArray edges;
    int right = 0;
    for (int c = 0; c < content.ColumnCount(); ++c) {
        right += columnPixels(content, c) * 15;
        edges += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10"
                 "\\clcbpat%1\\cellx" +
                 QByteArray::number(right);
    }
    QHash<QRgb, QByteArray> rowDefs; // one row definition per background colour
    for (const FileRow &row : fileRows(content)) {
        const QColor background = rowBackground(look, row);
        QByteArray &rowDef = rowDefs[background.rgb()];
        if (rowDef.isEmpty()) {
            rowDef = edges;
            rowDef.replace("%1", colourIndex(background));
        }
        doc += "\\trowd\\trgaph60\\trleft0" + rowDef + "\r\n";
        for (int c = 0; c < content.ColumnCount(); ++c) {
            doc += "\\pard\\intbl" + rtfAlign(content.Alignment(c)) + "\\cf1";
            if (row.kind == RowKind::Title)
                doc += "\\b";
            doc += ' ' + rtfText(cellOf(content, row, c).text);
            if (row.kind == RowKind::Title)
                doc += "\\b0";
            doc += "\\cell\r\n";
        }
        doc += "\\row\r\n";
        if (!put(out, doc))
            return false;
        doc.clear();
    }
    doc += "\\pard\\par\r\n}\r\n";
    return put(out, doc);
}

// ---- xls: BIFF8 records in a compound document ----

namespace {

constexpr int kMaxRecordData = 8224;
constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr quint16 kFirstCellXf = 15; // after the 15 style XFs every workbook has

class Biff {
public:
    void u8(quint8 v) { m_data.append(char(v)); }
    void u16(quint16 v)
    {
        char b[2];
        qToLittleEndian(v, b);
        m_data.append(b, 2);
    }
    void u32(quint32 v)
    {
        char b[4];
        qToLittleEndian(v, b);
        m_data.append(b, 4);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian(bits, b);
        m_data.append(b, 8);
    }
    // A string with a 8-bit (short) or 16-bit character count, always stored as UTF-16.
    void text(const QString &s, bool shortCount)
    {
        const int maxChars = shortCount ? 255 : (kMaxRecordData - m_data.size() - 3) / 2;
        QString t = s.left(maxChars);
        if (!t.isEmpty() && t.back().isHighSurrogate())
            t.chop(1);
        if (shortCount)
            u8(quint8(t.size()));
        else
            u16(quint16(t.size()));
        u8(0x01);
        for (QChar ch : t)
            u16(ch.unicode());
    }
    // Ends the record of this type that the data written since the last one make.
    void record(quint16 type)
    {
        m_out.append(char(type & 0xFF)).append(char(type >> 8));
        const quint16 len = quint16(m_data.size());
        m_out.append(char(len & 0xFF)).append(char(len >> 8));
        m_out.append(m_data);
        m_data.clear();
    }
    QByteArray &bytes() { return m_out; }

private:
    QByteArray m_out;
    QByteArray m_data;
};

void bof(Biff &b, quint16 kind)
{
    b.u16(0x0600); // BIFF8
    b.u16(kind);   // 0x0005 workbook globals, 0x0010 worksheet
    b.u16(0x0DBB);
    b.u16(0x07CC);
    b.u32(0);
    b.u32(0x00000006);
    b.record(0x0809);
}

void font(Biff &b, const GridLook &look, bool bold)
{
    b.u16(quint16(qMax(1, look.fontPixelSize) * 15)); // twentieths of a point at 96 dpi
    b.u16(0);
    b.u16(0x7FFF); // automatic colour
    b.u16(bold ? 700 : 400);
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(134); // GB2312 character set
    b.u8(0);
    b.text(look.fontFamily, true);
    b.record(0x0031);
}

void xf(Biff &b, quint16 fontIndex, bool style, quint8 horizontal, quint8 usedAttributes)
{
    b.u16(fontIndex);
    b.u16(0);                        // General number format
    b.u16(style ? 0xFFF5 : 0x0001);  // style XF / locked cell XF with the Normal style as parent
    b.u8(quint8(horizontal | 0x20)); // bottom aligned
    b.u8(0);
    b.u8(0);
    b.u8(usedAttributes);
    b.u32(0);
    b.u32(0);
    b.u16(0x20C0); // pattern colours: system foreground and background
    b.record(0x00E0);
}

quint8 xlsHorizontal(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return 3;
    if (alignment & Qt::AlignHCenter)
        return 2;
    return 1;
}

// Cell XF of an alignment (1 left, 2 centre, 3 right), bold for the title row.
quint16 cellXf(quint8 horizontal, bool bold)
{
    return quint16(kFirstCellXf + (horizontal - 1) * 2 + (bold ? 1 : 0));
}

QByteArray workbookStream(const GridContent &content)
{
    const GridLook look = content.Look();
    const int columns = content.ColumnCount();
    // A sheet holds 65,536 rows: a longer list goes on over further sheets, each headed by
    // the title row, the footer on the last.
    const std::vector<FileRow> all = fileRows(content);
    std::vector<std::vector<FileRow>> sheets;
    for (size_t i = 1; i < all.size() || sheets.empty(); i += kMaxRows - 1) {
        std::vector<FileRow> sheet{all[0]};
        for (size_t j = i; j < all.size() && j < i + kMaxRows - 1; ++j)
            sheet.push_back(all[j]);
        sheets.push_back(std::move(sheet));
    }

    Biff b;
    bof(b, 0x0005);
    b.u16(1200); // strings are UTF-16
    b.record(0x0042);
    for (quint16 v : {0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 0x0258})
        b.u16(v);
    b.record(0x003D); // WINDOW1
    // fonts 0 to 3 and 5 (index 4 does not exist); 5 is the bold title font
    for (int i = 0; i < 4; ++i)
        font(b, look, false);
    font(b, look, true);
    xf(b, 0, true, 0, 0);
    for (int i = 1; i < 15; ++i)
        xf(b, 0, true, 0, 0xF4);
    for (quint8 h = 1; h <= 3; ++h) {
        xf(b, 0, false, h, 0x10);
        xf(b, 5, false, h, 0x18);
    }
    b.u16(0x8000); // built-in style Normal on XF 0
    b.u8(0);
    b.u8(0xFF);
    b.record(0x0293);
    std::vector<qsizetype> offsetAt;
    for (size_t n = 0; n < sheets.size(); ++n) {
        offsetAt.push_back(b.bytes().size() + 4);
        b.u32(0); // stream position of the sheet, set below
        b.u8(0);
        b.u8(0);
        b.text(QStringLiteral("Sheet%1").arg(n + 1), true);
        b.record(0x0085); // BOUNDSHEET
    }
    b.record(0x000A); // EOF

    for (size_t n = 0; n < sheets.size(); ++n) {
        const std::vector<FileRow> &rows = sheets[n];
        qToLittleEndian(quint32(b.bytes().size()), b.bytes().data() + offsetAt[n]);
        bof(b, 0x0010);
        for (int c = 0; c < columns; ++c) {
            b.u16(quint16(c));
            b.u16(quint16(c));
            b.u16(quint16(qMin(65535, columnPixels(content, c) * 256 / 7))); // 1/256 of a character
            b.u16(cellXf(xlsHorizontal(content.Alignment(c)), false));
            b.u16(0);
            b.u16(0);
            b.record(0x007D); // COLINFO
        }
        b.u32(0);
        b.u32(quint32(rows.size()));
        b.u16(0);
        b.u16(quint16(columns));
        b.u16(0);
        b.record(0x0200); // DIMENSIONS

        for (size_t r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < columns; ++c) {
                const ContentCell cell = cellOf(content, rows[r], c);
                b.u16(quint16(r));
                b.u16(quint16(c));
                b.u16(cellXf(xlsHorizontal(content.Alignment(c)), rows[r].kind == RowKind::Title));
                if (rows[r].kind == RowKind::Title) {
                    b.text(cell.text, false);
                    b.record(0x0204); // LABEL
                } else if (cell.number && std::isfinite(cell.value)) {
                    b.f64(cell.value);
                    b.record(0x0203); // NUMBER
                } else if (cell.blank || cell.text.isEmpty()) {
                    b.record(0x0201); // BLANK
                } else {
                    b.text(cell.text, false);
                    b.record(0x0204); // LABEL
                }
            }
        }

        b.u16(n == 0 ? 0x06B6 : 0x04B6); // grid lines, headers, zeros; the first sheet selected
        b.u16(0);
        b.u16(0);
        b.u16(64);
        b.u16(0);
        b.u16(0);
        b.u16(0);
        b.u32(0);
        b.record(0x023E); // WINDOW2
        b.record(0x000A); // EOF
    }
    return b.bytes();
}

} // namespace

bool WriteXls(const GridContent &content, QIODevice &out)
{
    if (content.ColumnCount() > kMaxColumns)
        return false; // a sheet has 256 columns; rows go on over further sheets

    return put(out, CompoundDocument(QStringLiteral("Workbook"), workbookStream(content)));
}
