#include "app/main_login.h"

#include "app/folders.h"
#include "datalayer/inifile.h"
#include "datalayer/labelfor.h"
#include "datalayer/settings.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/jpegimage.h"
#include "datalayer/numbertext.h"
#include "datalayer/programfolder.h"
#include "users/uncryp.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

TForm_login *Form_login = nullptr;

namespace {
const QString kAnimation = QStringLiteral("系统启动中");

QString oneUserStatement(const QString &name)
{
    return "select * from 用户管理 where 用户名 =" + QuotedStr(name);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    QFont f = label->font();
    f.setFamilies({QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(16);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #00ff00; background: transparent;"));
    return label;
}
} // namespace

LoginOutcome CheckLogin(Connection &conn, const QString &userName, const QString &password)
{
    LoginOutcome out;
    try {
        Query q(&conn, QStringLiteral("ADOQuery1"));
        q.SetSQL(oneUserStatement(userName));
        q.Open();
        if (password.isEmpty()) {
            out.result = LoginOutcome::Refused;
        } else {
            const QString stored = q.IsEmpty() ? QString() : q.FieldByName(QStringLiteral("密码")).AsString();
            const QString plain = DecipherHex(stored);
            out.result = password.compare(plain, Qt::CaseInsensitive) == 0 ? LoginOutcome::Accepted
                                                                            : LoginOutcome::Refused;
            if (!q.IsEmpty()) {
                out.permission = q.FieldByName(QStringLiteral("权限")).AsString();
                out.userName = q.FieldByName(QStringLiteral("用户名")).AsString();
            }
        }
    } catch (const DbError &) {
        out.result = LoginOutcome::Failed; // the worker ends without a message
    } catch (const ConvertError &) {
        out.result = LoginOutcome::Failed; // a 密码 edited outside the program
    }
    conn.Close(); // every check closes the connection; the next query reopens it
    return out;
}

LoginTthread::LoginTthread(Connection *conn, const QString &userName, const QString &password, QObject *parent)
    : QThread(parent), m_conn(conn), m_userName(userName), m_password(password)
{
}

void LoginTthread::run()
{
    emit checked(CheckLogin(*m_conn, m_userName, m_password));
}

TForm_login::TForm_login(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_login"));
    setWindowTitle(QStringLiteral("系统管理员登陆"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose, false); // the entry reads the result, then deletes it

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 526, 310);
    const QImage picture = LoadJpeg(ProgramPath(QStringLiteral("img/login.jpg")));
    if (!picture.isNull())
        Image1->setPixmap(QPixmap::fromImage(picture.scaled(526, 310)));

    Label1 = makeLabel(this, "Label1", QStringLiteral("用户名："), {120, 150, 90, 24});
    Label2 = makeLabel(this, "Label2", QStringLiteral("密  码："), {120, 186, 90, 24});
    Label3 = makeLabel(this, "Label3", QStringLiteral("权  限："), {120, 222, 90, 24});
    Label4 = new QLabel(kAnimation, this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(150, 100, 330, 40);
    QFont f4 = Label4->font();
    f4.setFamilies({QStringLiteral("华文行楷"), QStringLiteral("WenQuanYi Micro Hei")});
    f4.setPixelSize(27);
    Label4->setFont(f4);
    Label4->setStyleSheet(QStringLiteral("color: #808000; background: transparent;"));
    Label4->hide();

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(210, 150, 170, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setGeometry(210, 186, 170, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setGeometry(210, 222, 170, 24);
    LabelFor(Label1, ComboBox1);
    LabelFor(Label2, Edit1);
    LabelFor(Label3, Edit2);

    Button1 = new QPushButton(QStringLiteral("登陆"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(390, 186, 64, 26);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(390, 222, 64, 26);
    // Enter must not press a button from the user name box: no default buttons.
    for (QPushButton *b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setAccessibleName(b->text());
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);

    ADOConnection1.SetDatabase(ProgramPath(QStringLiteral("data/datas.mdb")));
    ADOConnection1.SetExclusive(false);
    ADOQuery1 = new Query(&ADOConnection1, QStringLiteral("ADOQuery1"), this);

    connect(Button1, &QPushButton::clicked, this, &TForm_login::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_login::Button2Click);
    connect(Edit1, &QLineEdit::returnPressed, this, &TForm_login::Button1Click);
    connect(ComboBox1, &QComboBox::activated, this, &TForm_login::ComboBox1Click);
    connect(Timer1, &QTimer::timeout, this, &TForm_login::Timer1Timer);
    FormCreate();
}

TForm_login::~TForm_login()
{
    // A check still running holds the connection: let it end before the window goes.
    for (LoginTthread *worker : findChildren<LoginTthread *>())
        worker->wait();
    if (Form_login == this)
        Form_login = nullptr;
}

void TForm_login::FormCreate()
{
    CreateProgramFolders();
    setFixedSize(526, 303); // the lowest rows of the picture are cut off
    Timer1->start();
}

void TForm_login::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TForm_login::FormShow()
{
    m_settings = std::make_unique<IniFile>(ProgramPath(QStringLiteral("config.ini")));
    m_ticks = 0;
    try {
        ADOQuery1->Reopen(QStringLiteral("select 用户名 from 用户管理"));
        for (ADOQuery1->First(); !ADOQuery1->Eof(); ADOQuery1->Next()) {
            const QString name = ADOQuery1->FieldByName(QStringLiteral("用户名")).AsString();
            ComboBox1->addItem(name);
            ComboBox1->setEditText(name);
        }
        const QString last = LoginUserName(*m_settings);
        for (int i = 0; i < ComboBox1->count(); ++i)
            if (ComboBox1->itemText(i) == last) {
                ComboBox1->setCurrentIndex(i);
                ComboBox1->setEditText(last);
            }
        showPermission();
    } catch (const DbError &e) {
        Dialogs::ShowError(this, e.text());
    }
    Edit1->setFocus();
}

void TForm_login::showPermission()
{
    ADOQuery1->Reopen(oneUserStatement(ComboBox1->currentText()));
    Edit2->setText(ADOQuery1->IsEmpty() ? QString() : ADOQuery1->FieldByName(QStringLiteral("权限")).AsString());
}

void TForm_login::ComboBox1Click()
{
    if (m_checking) {
        m_pickWaiting = true; // the check holds the connection
        return;
    }
    try {
        showPermission();
    } catch (const DbError &e) {
        Dialogs::ShowError(this, e.text());
    }
}

void TForm_login::Button1Click()
{
    if (m_checking)
        return; // one check at a time: a second press while one runs is ignored
    m_checking = true;
    // The worker gets the box texts as they are now; what it finds comes back to this thread.
    auto *worker = new LoginTthread(&ADOConnection1, ComboBox1->currentText(), Edit1->text(), this);
    connect(worker, &LoginTthread::checked, this, &TForm_login::finishCheck, Qt::QueuedConnection);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void TForm_login::finishCheck(const LoginOutcome &outcome)
{
    m_checking = false;
    if (outcome.result == LoginOutcome::Refused) {
        Dialogs::Notice(nullptr, QStringLiteral("登陆密码错误!"), QStringLiteral("提示"));
        Edit1->clear();
        Edit1->setFocus();
    }
    if (m_pickWaiting) {
        m_pickWaiting = false;
        ComboBox1Click();
    }
    if (outcome.result == LoginOutcome::Accepted) {
        Edit2->setText(outcome.permission);
        // The main window takes the user and the permission from the file: both or no login.
        const QString previousUser = LoginUserName(*m_settings);
        // Every screen records this name as the handler: the account's own, not the typed case.
        if (!SetLoginUserName(*m_settings, outcome.userName) ||
            !SetLoginPermission(*m_settings, Edit2->text())) {
            SetLoginUserName(*m_settings, previousUser);
            Dialogs::ShowError(this, SettingsNotSaved(*m_settings));
            emit checkFinished(false);
            return;
        }
        Label4->show();
        Label4->hide();
        emit checkFinished(true);
        accept();
        return;
    }
    emit checkFinished(false);
}

void TForm_login::Button2Click()
{
    reject();
}

void TForm_login::Timer1Timer()
{
    Label4->setText(Label4->text() + '.');
    if (m_ticks == 9) {
        m_ticks = 0;
        Label4->setText(kAnimation);
    } else {
        ++m_ticks;
    }
}

void TForm_login::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return; // only "取消" and the window's close end the program
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        // Enter on the window itself logs in; Enter in the user name box does nothing.
        if (focusWidget() == nullptr || focusWidget() == this)
            Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm_login::closeEvent(QCloseEvent *event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TForm_login::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm_login::FormClose()
{
    Timer1->stop();
    m_settings.reset();
}
