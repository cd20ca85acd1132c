#include "reporting/exportgrid.h"

#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/sql_ado_conn.h"
#include "reporting/exportwriters.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <array>
#include <exception>

namespace {

struct ExportType {
    const char16_t *filter;
    const char *ext;
    bool (*write)(const GridContent &, QIODevice &);
};

const std::array<ExportType, 5> kTypes{{
    {u"txt(文本文件) (*.txt)", "txt", WriteTxt},
    {u"csv(数据文件) (*.csv)", "csv", WriteCsv},
    {u"htm(网页文件) (*.htm)", "htm", WriteHtm},
    {u"rtf(记事本文件) (*.rtf)", "rtf", WriteRtf},
    {u"xls(Excel文件) (*.xls)", "xls", WriteXls},
}};

const QString kRowNumber = QStringLiteral("序号");

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// Hides the row-number column for the time of the export and stops repainting; both are
// put back however the export ends.
class ExportScope {
public:
    explicit ExportScope(DBGrid *grid) : m_grid(grid), m_updates(grid->updatesEnabled())
    {
        const auto &columns = grid->Columns();
        if (!columns.empty() && columns.front().fieldName == kRowNumber && columns.front().visible &&
            !grid->isColumnHidden(0)) {
            grid->SetColumnVisible(0, false);
            m_hidRowNumber = true;
        }
        grid->setUpdatesEnabled(false);
    }
    ~ExportScope()
    {
        if (m_hidRowNumber)
            m_grid->SetColumnVisible(0, true);
        m_grid->setUpdatesEnabled(m_updates);
    }
    ExportScope(const ExportScope &) = delete;
    ExportScope &operator=(const ExportScope &) = delete;

private:
    DBGrid *m_grid;
    bool m_updates;
    bool m_hidRowNumber = false;
};

bool writeFile(DBGrid *grid, const QString &path, const ExportType &type)
{
    ExportScope scope(grid);
    // Written beside the target and renamed over it at the end, so a failure leaves
    // neither a partial file nor a damaged earlier one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::unique_ptr<GridContent> content = grid->Content();
    if (!type.write(*content, file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QStringList ExportFilters()
{
    QStringList filters;
    for (const ExportType &t : kTypes)
        filters << QString::fromUtf16(t.filter);
    return filters;
}

QString FirstExportFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

QString ExportFileName(const QString &chosen, const QString &ext)
{
    const QString tail = chosen.right(3);
    bool same = tail.size() == ext.size();
    for (qsizetype i = 0; same && i < tail.size(); ++i)
        same = asciiLower(tail[i].unicode()) == asciiLower(ext[i].unicode());
    return same ? chosen : chosen + QLatin1Char('.') + ext;
}

bool ExportGrid(DBGrid *grid, SaveDialogSettings &dialog, QWidget *owner)
{
    if (!grid)
        return false;
    // The dialog proposes the file "data" of the type used last, in the folder used last (the
    // user's documents at first): a bare "data" beside the program would open its data folder.
    const QFileInfo last(dialog.fileName);
    const QString folder = last.isAbsolute() ? last.absolutePath() : FirstExportFolder();
    dialog.filters = ExportFilters();
    const int index = dialog.filterIndex >= 1 && dialog.filterIndex <= int(kTypes.size()) ? dialog.filterIndex : 1;

    Dialogs::Request request{};
    request.kind = Dialogs::Kind::SaveFile;
    request.fileName = QDir(folder).filePath(QStringLiteral("data.") + QString::fromLatin1(kTypes[size_t(index - 1)].ext));
    request.filters = dialog.filters;
    request.filterIndex = index;
    const Dialogs::Answer answer = Dialogs::SaveFile(owner, request);
    if (!answer.ok || answer.path.isEmpty())
        return false;
    dialog.fileName = answer.path;
    dialog.filterIndex = answer.filterIndex;
    if (answer.filterIndex < 1 || answer.filterIndex > int(kTypes.size()))
        return false;

    const ExportType &type = kTypes[size_t(answer.filterIndex - 1)];
    const QString path = ExportFileName(answer.path, QString::fromLatin1(type.ext));
    try {
        return writeFile(grid, path, type);
    } catch (const std::exception &) {
        return false;
    }
}
