#include "mail/mailattfile.h"

#include "mail/mailerror.h"
#include "mail/mimetext.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

QString ContentTypeFor(const QString &fileName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    return type.isValid() ? type.name() : QStringLiteral("application/octet-stream");
}

TAttachedFile &TAttachedFiles::AddFile(const QString &path)
{
    TAttachedFile &item = AddData(QFileInfo(path).fileName(), QByteArray());
    item.Path = path;
    return item;
}

TAttachedFile &TAttachedFiles::AddData(const QString &fileName, const QByteArray &content)
{
    TAttachedFile item;
    item.FileName = fileName;
    item.ContentType = ContentTypeFor(fileName);
    item.Content = content;
    m_items.append(item);
    return m_items.last();
}

void TAttachedFiles::Encode()
{
    for (TAttachedFile &item : m_items) {
        if (item.Content.isEmpty() && !item.Path.isEmpty()) {
            QFile file(item.Path);
            if (!file.open(QIODevice::ReadOnly))
                throw MailError(QStringLiteral("Cannot read the attachment ") + item.Path + QStringLiteral(": ") +
                                file.errorString());
            item.Content = file.readAll();
        }
        item.EncodedLines = Base64Lines(item.Content);
    }
}
