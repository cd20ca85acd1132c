#pragma once
#include "mail/mailattfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A mail message that renders itself as an Internet mail with MIME headers: the subject
// and body in the charset it names, Base64 bodies, attachments as multipart/mixed.
class TMailMsg {
public:
    enum TPriority { prHighest, prHigh, prNormal, prLow, prLowest };
    enum TTextEncoding { te8Bit, teBase64 };

    QString UserName;          // display name of the sender
    QString From;              // sender address
    QString ReplyTo;
    QString SendTo;            // comma-separated addresses
    QString CC;
    QString BCC;               // receives the mail, never named in a header
    QString Subject;
    QStringList Text;          // body lines
    QStringList ExtraHeaders;  // whole header lines, after the generated ones
    TPriority Priority = prNormal;
    QString CharSet = QStringLiteral("UTF-8");
    TTextEncoding TextEncoding = te8Bit;
    QString XMailer;
    TAttachedFiles Attachments;
    QString InReplyTo;
    QString DateText;          // set by the client just before sending

    // The finished mail, line by line without line ends: headers, one empty line, body.
    // Empty until FillRawMail.
    QList<QByteArray> RawMail;

    // Builds RawMail from the fields above. Raises MailError when From has no at sign or
    // an attached file cannot be read.
    void FillRawMail();
};
