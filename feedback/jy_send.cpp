#include "feedback/jy_send.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/formparts.h"
#include "datalayer/labelededit.h"
#include "mail/sendmailmessage.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TForm_jy_send *Form_jy_send = nullptr;

namespace {

const QString kNameHint = QStringLiteral("不能为空");
const QString kTextHint = QStringLiteral("请输入你的建意");

} // namespace

TForm_jy_send::TForm_jy_send(QWidget *parent) : QWidget(parent)
{
    MakeToolWindow(this, "Form_jy_send", QStringLiteral("建意"), {611, 235}, {.fixedSize = true});

    LabeledEdit1 = MakeField(this, "LabeledEdit1", QStringLiteral("用户名："), 8, true, QString(), 260);
    LabeledEdit2 = MakeField(this, "LabeledEdit2", QStringLiteral("电    话："), 44, true, QString(), 260);
    LabeledEdit3 = MakeField(this, "LabeledEdit3", QStringLiteral("手   机："), 80, true, QString(), 260);
    LabeledEdit4 = MakeField(this, "LabeledEdit4", QStringLiteral("E_mail ："), 116, true, QString(), 260);
    LabeledEdit5 = MakeField(this, "LabeledEdit5", QStringLiteral("QQ号码： "), 152, true, QString(), 260);
    LabeledEdit6 = MakeField(this, "LabeledEdit6", QStringLiteral("地    址："), 188, true, QString(), 260);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("建意内容"));
    TabThroughRemark(Memo1);
    Memo1->setPlainText(QStringLiteral("建意内容："));
    Memo1->setGeometry(280, 8, 323, 180);
    Button1 = MakeButton(this, "Button1", QStringLiteral("提交建意"), QRect(503, 196, 100, 30));
    connect(Button1, &QPushButton::clicked, this, &TForm_jy_send::Button1Click);
    // The name's warning colour lasts until the name is typed again.
    connect(LabeledEdit1->Edit(), &QLineEdit::textEdited, this,
            [this] { SetTextColour(LabeledEdit1, palette().color(QPalette::Text)); });
}

TForm_jy_send::~TForm_jy_send()
{
    if (Form_jy_send == this)
        Form_jy_send = nullptr;
}

QString TForm_jy_send::MailBody() const
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("用户名 ：") + LabeledEdit1->text() + crlf + QStringLiteral("电话 ：") +
           LabeledEdit2->text() + crlf + QStringLiteral("手机 ：") + LabeledEdit3->text() + crlf +
           QStringLiteral("QQ号 ：") + LabeledEdit5->text() + crlf + QStringLiteral("E_mail ：") +
           LabeledEdit4->text() + crlf + QStringLiteral("地址 ：") + LabeledEdit6->text() + crlf +
           QStringLiteral("内容 ：") + Memo1->toPlainText() + crlf;
}

QString TForm_jy_send::MailSubject() const
{
    const QWidget *main = Client().mainWindow;
    return (main ? main->windowTitle() : QGuiApplication::applicationDisplayName()) + QStringLiteral("建意");
}

void TForm_jy_send::Button1Click()
{
    // A hint left in its box counts as empty, so a second press cannot send it as the name.
    const QString name = LabeledEdit1->text();
    if (name.trimmed().isEmpty() || name == kNameHint) {
        LabeledEdit1->setText(kNameHint);
        SetTextColour(LabeledEdit1, Qt::red);
        LabeledEdit1->Edit()->selectAll();
        LabeledEdit1->Edit()->setFocus();
        return;
    }
    const QString text = Memo1->toPlainText();
    if (text.trimmed().isEmpty() || text == kTextHint) {
        Memo1->setPlainText(kTextHint);
        Memo1->selectAll();
        Memo1->setFocus();
        return;
    }
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定发送此建意!")))
        return;
    setEnabled(false);
    auto *sender = new MailSendThread(Settings, QString(), MailBody(), MailSubject(), name);
    // Queued from the worker; dropped when this window has closed in the meantime.
    connect(sender, &MailSendThread::Sent, this, &TForm_jy_send::SendFinished);
    sender->start();
}

void TForm_jy_send::SendFinished(bool ok)
{
    Dialogs::Notice(this, ok ? QStringLiteral("信息发送成功！") : QStringLiteral("信息发送失败！"));
    setEnabled(true);
}
