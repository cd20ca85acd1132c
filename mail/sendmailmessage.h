#pragma once
#include "mail/mailsettings.h"

#include <QString>
#include <QThread>

// Sends one plain-text message: connect, send, quit. The body's lines become the mail's;
// an empty attachment path attaches nothing. True only when the server accepted the
// message; false for any failure, a missing server setting included.
bool SendMailMessage(const MailSettings &settings, const QString &attachment, const QString &body,
                     const QString &subject, const QString &displayName);

// SendMailMessage on a worker thread of its own. Sent arrives queued on the thread of
// whoever is connected to it, and not at all once that receiver is gone. The thread
// object deletes itself when done; if the application quits first, the send is
// interrupted and waited for.
class MailSendThread : public QThread {
    Q_OBJECT
public:
    MailSendThread(const MailSettings &settings, const QString &attachment, const QString &body,
                   const QString &subject, const QString &displayName);

signals:
    void Sent(bool ok);

protected:
    void run() override;

private:
    MailSettings m_settings;
    QString m_attachment, m_body, m_subject, m_displayName;
};
