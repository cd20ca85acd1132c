#include "datalayer/formparts.h"

#include "datalayer/datepicker.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"
#include "datalayer/query.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class ShowHandler : public QObject {
public:
    ShowHandler(QWidget *window, std::function<void()> handler, bool once)
        : QObject(window), m_handler(std::move(handler)), m_once(once)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            if (m_once)
                watched->removeEventFilter(this);
            m_handler();
        }
        return false;
    }

private:
    std::function<void()> m_handler;
    bool m_once;
};

class RemarkFocus : public QObject {
public:
    explicit RemarkFocus(QPlainTextEdit *box) : QObject(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
                static_cast<QPlainTextEdit *>(watched)->moveCursor(QTextCursor::End);
        }
        return false;
    }
};

} // namespace

QGroupBox *FillWithGroupBox(QWidget *screen, const char *name)
{
    auto *box = new QGroupBox(screen);
    box->setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    return box;
}

QTabWidget *FillWithPages(QWidget *screen, const QStringList &captions)
{
    auto *pages = new QTabWidget(screen);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setDocumentMode(true); // flat tab buttons
    for (const QString &caption : captions) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheet%1").arg(pages->count() + 1));
        pages->addTab(page, caption);
    }
    auto *layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages);
    return pages;
}

void TabThroughRemark(QPlainTextEdit *box)
{
    box->setTabChangesFocus(true);
    new RemarkFocus(box);
}

QScrollArea *ScrollablePanel(QWidget *parent, QWidget *panel)
{
    auto *area = new QScrollArea(parent);
    area->setObjectName(panel->objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(panel);
    // Room for the scroll bar, so the panel is never cut at its right edge.
    area->setFixedWidth(panel->minimumWidth() + area->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return area;
}

QGroupBox *MakeGroupBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *box = new QGroupBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

QToolButton *MakeToolButton(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setGeometry(geometry);
    return b;
}

QAction *AddMenuItem(QMenu *menu, const char *name, const QString &caption, std::function<void()> action)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    QObject::connect(item, &QAction::triggered, menu, std::move(action));
    return item;
}

LabeledEdit *MakeField(QWidget *parent, const char *name, const QString &label, int top, bool editable,
                       const QString &initial, int width)
{
    auto *e = new LabeledEdit(label, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->Edit()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Edit"));
    e->setLabelPosition(LabeledEdit::Left);
    e->EditLabel()->setMinimumWidth(70);
    e->setGeometry(8, top, width, 26);
    e->Edit()->setReadOnly(!editable);
    e->setText(initial);
    return e;
}

QComboBox *MakeChoice(QWidget *parent, const char *name, const QString &label, int top, const QStringList &items,
                      const QString &initial)
{
    auto *l = new QLabel(label, parent);
    l->setGeometry(8, top, 70, 26);
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    // The list holds the stored values; Enter on a typed one does not add it.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentText(initial);
    c->setGeometry(82, top, 111, 26);
    LabelFor(l, c);
    return c;
}

void FillChoice(QComboBox *box, Query *query, const QString &sql)
{
    query->Reopen(sql);
    for (int r = 0; r < query->RecordCount(); ++r)
        box->addItem(query->Text(r, 0));
    if (box->count() > 0)
        box->setCurrentIndex(0);
}

QDateEdit *MakeDatePicker(QWidget *parent, const char *name)
{
    auto *d = new DatePicker(QDate::currentDate(), parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QString::fromLatin1(kShortDateFormat));
    d->setCalendarPopup(true);
    return d;
}

GridColumn MakeColumn(const QString &name, const QString &format, int width)
{
    GridColumn c;
    c.fieldName = name;
    c.displayFormat = format;
    c.width = width;
    return c;
}

GridColumn WithTotalText(GridColumn column)
{
    column.footer = FooterKind::Text;
    column.footerText = QStringLiteral("总计：");
    return column;
}

GridColumn WithSum(GridColumn column, const QString &format)
{
    column.footer = FooterKind::Sum;
    column.footerFormat = format;
    return column;
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    if (auto *e = qobject_cast<LabeledEdit *>(widget))
        widget = e->Edit();
    QPalette p = widget->palette();
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

void AttachPopup(DBGrid *grid, QMenu *menu)
{
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, menu,
                     [grid, menu](const QPoint &p) { menu->popup(grid->viewport()->mapToGlobal(p)); });
}

void MakeToolWindow(QWidget *window, const QString &name, const QString &caption, const QSize &size,
                    const ToolWindowLook &look)
{
    window->setObjectName(name);
    window->setWindowTitle(caption);
    Qt::WindowFlags flags = look.utility ? Qt::Tool : Qt::Window;
    switch (look.titleBar) {
    case ToolWindowLook::TitleBar::CloseBox:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case ToolWindowLook::TitleBar::NoButtons:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    case ToolWindowLook::TitleBar::None:
        flags |= Qt::FramelessWindowHint;
        break;
    }
    if (look.onTop)
        flags |= Qt::WindowStaysOnTopHint;
    window->setWindowFlags(flags);
    window->setAttribute(Qt::WA_DeleteOnClose, look.destroyedWhenClosed);
    if (look.fixedSize)
        window->setFixedSize(size);
    else
        window->resize(size);
    if (look.designPosition)
        window->setGeometry(QRect(*look.designPosition, size));
    else
        CentreOnScreen(window);
    if (look.closedByEscape) {
        auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
    }
}

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void OnShow(QWidget *window, std::function<void()> handler)
{
    new ShowHandler(window, std::move(handler), false);
}

void OnFirstShow(QWidget *window, std::function<void()> handler)
{
    new ShowHandler(window, std::move(handler), true);
}
