#include "directory/main_teagg_kan.h"

#include "datalayer/formparts.h"
#include "datalayer/jpegimage.h"
#include "datalayer/query.h"
#include "datalayer/sql_ado_conn.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

TForm_TeaGG_kan *Form_TeaGG_kan = nullptr;

namespace {
const QString kIntroStart = QStringLiteral("简介：");
constexpr int kRows = 10;
constexpr int kRowHeight = 18;
} // namespace

TForm_TeaGG_kan::TForm_TeaGG_kan(QWidget *parent) : QWidget(parent)
{
    // A borderless card, hidden and shown again for every card.
    MakeToolWindow(this, "Form_TeaGG_kan", QStringLiteral("广告信息查看"), {321, 402},
                   {.titleBar = ToolWindowLook::TitleBar::None, .onTop = false, .fixedSize = true,
                    .destroyedWhenClosed = false});

    GroupBox1 = FillWithGroupBox(this, "GroupBox1");
    Image2 = new QLabel(GroupBox1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(12, 16, 297, 121);
    Image2->setScaledContents(true);
    Image2->setAccessibleName(QStringLiteral("经销商标志"));

    StringGrid1 = new QTableWidget(kRows, 2, GroupBox1);
    StringGrid1->setTabKeyNavigation(false); // Tab leaves the card, which would walk its cells round
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(12, 141, 297, kRows * kRowHeight + 4);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->setColumnWidth(0, 60);
    StringGrid1->setColumnWidth(1, 100);
    // The values keep at least their width and take what the grid has beyond it.
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setAccessibleName(QStringLiteral("广告信息"));
    for (int r = 0; r < kRows; ++r) {
        StringGrid1->setItem(r, 0, new QTableWidgetItem(CardCaptions().at(r)));
        StringGrid1->setItem(r, 1, new QTableWidgetItem());
    }
    // A wider font than the old one must not cut the captions short.
    StringGrid1->resizeColumnToContents(0);
    StringGrid1->setColumnWidth(0, qMax(60, StringGrid1->columnWidth(0)));

    Memo1 = new QPlainTextEdit(kIntroStart, GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(12, 329, 297, 38);
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(QStringLiteral("简介"));

    Button2 = MakeButton(GroupBox1, "Button2", QStringLiteral("复制"), {152, 371, 75, 25});
    Button1 = MakeButton(GroupBox1, "Button1", QStringLiteral("退出"), {234, 371, 75, 25});
    connect(Button1, &QPushButton::clicked, this, &TForm_TeaGG_kan::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_TeaGG_kan::Button2Click);
}

TForm_TeaGG_kan::~TForm_TeaGG_kan()
{
    if (Form_TeaGG_kan == this)
        Form_TeaGG_kan = nullptr;
}

void TForm_TeaGG_kan::ShowSlot(const QString &slot)
{
    m_slot = slot;
    Query q(&Form_sql->ADOConnection1, QStringLiteral("CardOfSlot"));
    q.SetSQL(DealerSlotStatement(slot));
    q.Open();
    fill(q.IsEmpty() ? DealerCard{} : CurrentCard(q));
    present();
}

void TForm_TeaGG_kan::ShowCard(const DealerCard &card)
{
    m_slot.clear();
    fill(card);
    present();
}

void TForm_TeaGG_kan::fill(const DealerCard &card)
{
    for (int r = 0; r < kRows; ++r)
        StringGrid1->item(r, 1)->setText(card.values.value(r));
    Memo1->setPlainText(card.intro);
    const QImage logo = DecodeJpeg(card.logo);
    if (logo.isNull())
        Image2->clear();
    else
        Image2->setPixmap(QPixmap::fromImage(logo));
}

void TForm_TeaGG_kan::present()
{
    if (!isVisible()) {
        CentreOnScreen(this);
        show();
    }
    raise();
    activateWindow();
}

QString TForm_TeaGG_kan::CardText() const
{
    QStringList lines;
    for (int r = 0; r < kRows; ++r)
        lines << StringGrid1->item(r, 0)->text() + StringGrid1->item(r, 1)->text();
    lines << kIntroStart + Memo1->toPlainText();
    return lines.join('\n');
}

void TForm_TeaGG_kan::Button1Click()
{
    hide();
}

void TForm_TeaGG_kan::Button2Click()
{
    QApplication::clipboard()->setText(CardText());
}

void TForm_TeaGG_kan::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Button1Click(); // borderless: Escape is the keyboard's way out
        return;
    }
    QWidget::keyPressEvent(event);
}
