#include "mail/sendmailmessage.h"

#include "mail/mailmsg.h"
#include "mail/mimetext.h"
#include "mail/smtpclient.h"

#include <QCoreApplication>
#include <exception>

bool SendMailMessage(const MailSettings &settings, const QString &attachment, const QString &body,
                     const QString &subject, const QString &displayName)
{
    TSmtpClient client;
    client.Apply(settings);

    TMailMsg message;
    message.TextEncoding = TMailMsg::teBase64;
    message.UserName = displayName;
    message.From = settings.sender;
    message.SendTo = settings.recipient;
    message.Subject = subject;
    message.Text = NormaliseLineBreaks(body).split(QStringLiteral("\r\n"));
    if (message.Text.size() > 1 && message.Text.last().isEmpty())
        message.Text.removeLast(); // the last line's break, not a line of its own
    if (!attachment.isEmpty())
        message.Attachments.AddFile(attachment);

    try {
        client.Connect();
        if (client.Error())
            return false;
        const bool accepted = client.SendMessage(message);
        client.Quit(); // a failed goodbye cannot take back an accepted message
        return accepted;
    } catch (const std::exception &) {
        return false;
    }
}

MailSendThread::MailSendThread(const MailSettings &settings, const QString &attachment, const QString &body,
                               const QString &subject, const QString &displayName)
    : m_settings(settings), m_attachment(attachment), m_body(body), m_subject(subject), m_displayName(displayName)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] {
            requestInterruption();
            wait();
        });
}

void MailSendThread::run()
{
    emit Sent(SendMailMessage(m_settings, m_attachment, m_body, m_subject, m_displayName));
}
