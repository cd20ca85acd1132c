#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// One reply of an SMTP server: its code and the text of each of its lines.
struct SmtpReply {
    int code = 0;
    QList<QByteArray> lines; // each line without its code, separator and line end
    // The final line's text, trimmed.
    QString Text() const;
};

// Takes whole replies out of the bytes a server sends, however they arrive: lines end in
// CR LF (a bare LF is taken too), "250-..." lines continue a reply, "250 ..." or a bare
// "250" ends it. Anything else is malformed, and stays so until Clear.
class SmtpReplyReader {
public:
    enum class Result { NeedMore, Reply, Malformed };
    // Far above the 512 bytes a reply line may have; a longer one is an attack or garbage.
    static constexpr qsizetype kMaxLine = 4096;
    static constexpr qsizetype kMaxLines = 1000;

    void Feed(QByteArrayView bytes);
    // The next whole reply, when the bytes fed so far hold one.
    Result Next(SmtpReply &reply);
    // Bytes fed but not yet taken as part of a reply.
    qsizetype Buffered() const { return m_buffer.size(); }
    bool Malformed() const { return m_malformed; }
    void Clear();

private:
    QByteArray m_buffer;
    SmtpReply m_partial;
    bool m_malformed = false;
};
