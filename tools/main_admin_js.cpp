#include "tools/main_admin_js.h"

#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialogs.h"
#include "datalayer/datepicker.h"
#include "datalayer/formparts.h"
#include "datalayer/guards.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "datalayer/sysfun.h"
#include "tools/notestatements.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

TForm_js *Form_js = nullptr;

TForm_js::TForm_js(QWidget *parent) : QWidget(parent), m_owner(Client().currentUser)
{
    MakeToolWindow(this, "Form_js", QStringLiteral("记事本"), {699, 414});

    ADOQuery1 = new Query(Form_sql ? &Form_sql->ADOConnection1 : nullptr, QStringLiteral("ADOQuery1"), this);

    Label1 = new QLabel(QStringLiteral("提醒日期："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateTimePicker1 = MakeDatePicker(this, "DateTimePicker1");
    LabelFor(Label1, DateTimePicker1);
    const QTime now = QTime::currentTime();
    DateTimePicker2 = new TimePicker(QTime(now.hour(), now.minute()), this);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setDisplayFormat(QString::fromLatin1(kLongTimeFormat));
    NameFor(DateTimePicker2, QStringLiteral("提醒时间"));
    CheckBox1 = new QCheckBox(QStringLiteral("提醒"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    auto *reminder = new QHBoxLayout;
    reminder->addWidget(Label1);
    reminder->addWidget(DateTimePicker1, 1);
    reminder->addWidget(DateTimePicker2);
    reminder->addWidget(CheckBox1);

    LabeledEdit2 = new LabeledEdit(QStringLiteral("标题："), this);
    LabeledEdit2->setObjectName(QStringLiteral("LabeledEdit2"));
    LabeledEdit2->setLabelPosition(LabeledEdit::Left);

    Memo1 = new QPlainTextEdit(kTextStart, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("内容"));
    TabThroughRemark(Memo1);
    Memo1->moveCursor(QTextCursor::End); // typing goes after the first line

    Button1 = MakeButton(this, "Button1", QStringLiteral("添加"), {});
    Button2 = MakeButton(this, "Button2", QStringLiteral("修改"), {});
    Button3 = MakeButton(this, "Button3", QStringLiteral("删除"), {});
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto *left = new QVBoxLayout;
    left->addLayout(reminder);
    left->addWidget(LabeledEdit2);
    left->addWidget(Memo1, 1);
    left->addLayout(buttons);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetColumns({MakeColumn(QStringLiteral("标题"), {}, 103), MakeColumn(QStringLiteral("修改日期")),
                         MakeColumn(QStringLiteral("提醒")), MakeColumn(QStringLiteral("提醒时间"))});
    DBGrid1->SetTitleSort(false);
    DBGrid1->setAccessibleName(QStringLiteral("记事列表"));

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(DBGrid1, 1); // the list takes what the controls leave

    connect(DBGrid1, &DBGrid::CellClick, this, &TForm_js::DBGrid1CellClick);
    connect(Button1, &QPushButton::clicked, this, &TForm_js::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_js::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm_js::Button3Click);
    PrepareForm(this);
    OnShow(this, [this] { FormShow(); });
}

TForm_js::~TForm_js()
{
    if (Form_js == this)
        Form_js = nullptr;
}

void TForm_js::FormShow()
{
    Guarded(this, [this] {
        DBGrid1->SetQuery(ADOQuery1);
        ADOQuery1->Reopen(NotesSql(m_owner));
        DBGrid1->SetColumnWidth(QStringLiteral("提醒"), 30);
    });
}

void TForm_js::DBGrid1CellClick()
{
    // Everything is read before anything is shown, so the controls and the remembered key
    // always describe the same note; an empty list changes nothing.
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return;
    Silently([this] {
        const qint64 id = ADOQuery1->FieldByName(QStringLiteral("ID")).AsInteger();
        const bool remind = ADOQuery1->FieldByName(QStringLiteral("提醒")).AsBoolean();
        const QDateTime at = ADOQuery1->FieldByName(QStringLiteral("提醒时间")).AsDateTime();
        const QString title = ADOQuery1->FieldByName(QStringLiteral("标题")).AsString();
        const QString text = ADOQuery1->FieldByName(QStringLiteral("内容")).AsString();
        m_id = id;
        CheckBox1->setChecked(remind);
        if (at.isValid()) { // a note without a time keeps the pickers as they are
            DateTimePicker1->setDate(at.date());
            DateTimePicker2->setTime(at.time());
        }
        LabeledEdit2->setText(title);
        Memo1->setPlainText(text);
        Memo1->moveCursor(QTextCursor::End);
    });
}

NotepadNote TForm_js::shownNote() const
{
    return {LabeledEdit2->text(), Memo1->toPlainText(), CheckBox1->isChecked(),
            QDateTime(DateTimePicker1->date(), DateTimePicker2->time())};
}

void TForm_js::Button1Click()
{
    if (LabeledEdit2->text().isEmpty())
        return;
    if (!Dialogs::Confirm(this, QStringLiteral("是否确定添加!")))
        return;
    if (!RunSQLOrReport(AddNoteSql(m_owner, shownNote(), QDate::currentDate()), Form_sql->ADOConnection1, this))
        return;
    clearTexts();
    requery();
}

void TForm_js::Button2Click()
{
    writeLoaded(QStringLiteral("是否确定修改!"), ChangeNoteSql(m_owner, m_id, shownNote(), QDate::currentDate()));
}

void TForm_js::Button3Click()
{
    writeLoaded(QStringLiteral("是否确定删除!"), DeleteNoteSql(m_owner, m_id));
}

void TForm_js::writeLoaded(const QString &question, const QString &sql)
{
    if (LabeledEdit2->text().isEmpty())
        return;
    if (m_id < 0) {
        Dialogs::Notice(this, Dialogs::kChooseRow);
        return;
    }
    if (!Dialogs::Confirm(this, question))
        return;
    const RowWrite done = RunSQLOnRowOrReport(sql, Form_sql->ADOConnection1, this);
    if (done == RowWrite::NoRow)
        m_id = -1; // the typed texts stay for another try
    else if (done == RowWrite::Done)
        clearTexts();
    requery();
}

void TForm_js::clearTexts()
{
    LabeledEdit2->setText(QString());
    Memo1->clear();
    m_id = -1; // the note is no longer on screen
}

void TForm_js::requery()
{
    Guarded(this, [this] { ADOQuery1->Requery(); });
}

void TForm_js::closeEvent(QCloseEvent *event)
{
    DBGrid1->SetQuery(nullptr);
    QWidget::closeEvent(event);
}
