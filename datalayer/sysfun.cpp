#include "datalayer/sysfun.h"

#include "datalayer/dbgrid.h"

#include "datalayer/gbk.h"

#include <QDir>
#include <QLabel>
#include <QPalette>

#include <algorithm>
#include <iterator>

namespace {

void MakeTransparent(QLabel *label)
{
    label->setAutoFillBackground(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::transparent);
    label->setPalette(palette);
}

struct InitialRange {
    int first;
    int last;
    char letter;
};

// First-level GB 2312 characters are in pinyin order, so each initial is one code range
// (no syllable starts with I, U or V).
constexpr InitialRange kInitials[] = {
    {0xB0A1, 0xB0C4, 'A'}, {0xB0C5, 0xB2C0, 'B'}, {0xB2C1, 0xB4ED, 'C'}, {0xB4EE, 0xB6E9, 'D'},
    {0xB6EA, 0xB7A1, 'E'}, {0xB7A2, 0xB8C0, 'F'}, {0xB8C1, 0xB9FD, 'G'}, {0xB9FE, 0xBBF6, 'H'},
    {0xBBF7, 0xBFA5, 'J'}, {0xBFA6, 0xC0AB, 'K'}, {0xC0AC, 0xC2E7, 'L'}, {0xC2E8, 0xC4C2, 'M'},
    {0xC4C3, 0xC5B5, 'N'}, {0xC5B6, 0xC5BD, 'O'}, {0xC5BE, 0xC6D9, 'P'}, {0xC6DA, 0xC8BA, 'Q'},
    {0xC8BB, 0xC8F5, 'R'}, {0xC8F6, 0xCBF9, 'S'}, {0xCBFA, 0xCDD9, 'T'}, {0xCDDA, 0xCEF3, 'W'},
    {0xCEF4, 0xD1B8, 'X'}, {0xD1B9, 0xD4D0, 'Y'}, {0xD4D1, 0xD7F9, 'Z'},
};

} // namespace

void PrepareLabels(QWidget *form)
{
    // Recursive, so labels on panels and tabs count, and so does the label inside every
    // LabeledEdit.
    for (QLabel *label : form->findChildren<QLabel *>())
        MakeTransparent(label);
}

void PrepareForm(QWidget *form)
{
    PrepareLabels(form);
    // Grid step: every column right-aligned, titles, cells and footers, on an olive footer row.
    for (DBGrid *grid : form->findChildren<DBGrid *>()) {
        if (grid->Columns().empty())
            continue; // a grid with no columns keeps its footer colour
        grid->SetCellAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->SetFooterColour(QColor(128, 128, 0));
    }
}

int ListFolder(const QString &path, QStringList &list)
{
    // With or without a trailing separator of either kind the folder is the same.
    QString folder = path;
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return int(list.size());
    // The file system's own order differs between platforms and file systems; sorting by
    // name keeps the lists the screens show the same everywhere.
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
    std::copy_if(names.cbegin(), names.cend(), std::back_inserter(list),
                 [](const QString &name) { return !name.startsWith(u'.'); });
    return int(list.size());
}

QChar PinyinInitial(const QString &text)
{
    const QByteArray bytes = ToGbk(text);
    if (bytes.size() < 2)
        return u' ';
    const int code = static_cast<unsigned char>(bytes.at(0)) * 256 + static_cast<unsigned char>(bytes.at(1));
    const auto range = std::find_if(std::begin(kInitials), std::end(kInitials),
                                    [code](const InitialRange &r) { return code >= r.first && code <= r.last; });
    return range == std::end(kInitials) ? QChar(u' ') : QChar(QLatin1Char(range->letter));
}
