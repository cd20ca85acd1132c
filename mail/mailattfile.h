#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// One attached file: its name, where it came from, its content type and its bytes.
struct TAttachedFile {
    QString FileName;     // without folder
    QString Path;         // the file read at encoding; empty for bytes given in memory
    QString ContentType;
    QByteArray Content;   // kept in memory after the first encoding
    QList<QByteArray> EncodedLines; // Base64, 76 characters a line
};

// The attachments of one message, in order.
class TAttachedFiles {
public:
    // A file by its path; its content type comes from the name's extension. The item
    // returned is valid until the next one is added.
    TAttachedFile &AddFile(const QString &path);
    // Bytes that are already in memory, under a file name.
    TAttachedFile &AddData(const QString &fileName, const QByteArray &content);
    // Reads each file not yet in memory and encodes every attachment; a file that cannot
    // be read raises MailError.
    void Encode();

    qsizetype Count() const { return m_items.size(); }
    const TAttachedFile &operator[](qsizetype i) const { return m_items[i]; }
    void Clear() { m_items.clear(); }

private:
    QList<TAttachedFile> m_items;
};

// The content type that a file name's extension stands for; "application/octet-stream" when none.
QString ContentTypeFor(const QString &fileName);
