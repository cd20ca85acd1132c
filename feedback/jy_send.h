#pragma once
#include "mail/mailsettings.h"

#include <QWidget>

class LabeledEdit;
class QPlainTextEdit;
class QPushButton;

// The feedback window: name, contact details and a suggestion, sent by mail to the maker.
// Sending runs on a worker thread; the window stays disabled until the result is in.
class TForm_jy_send : public QWidget {
    Q_OBJECT
public:
    explicit TForm_jy_send(QWidget *parent = nullptr);
    ~TForm_jy_send() override;

    LabeledEdit *LabeledEdit1; // user name
    LabeledEdit *LabeledEdit2; // telephone
    LabeledEdit *LabeledEdit3; // mobile
    LabeledEdit *LabeledEdit4; // e-mail
    LabeledEdit *LabeledEdit5; // QQ number
    LabeledEdit *LabeledEdit6; // address
    QPlainTextEdit *Memo1;
    QPushButton *Button1;

    // Where the mail goes; the build's settings unless a test points it elsewhere.
    MailSettings Settings = BuiltInMailSettings();

    // The mail's seven body lines, each ended by CR LF, and its subject.
    QString MailBody() const;
    QString MailSubject() const;

public slots:
    void Button1Click();

private:
    void SendFinished(bool ok);
};

extern TForm_jy_send *Form_jy_send;
