#include "datalayer/filterbar.h"

#include "datalayer/guards.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

FilterBar::FilterBar(QComboBox *choice, QLineEdit *edit, QDateEdit *date, QPushButton *query, QObject *parent)
    : QObject(parent), m_choice(choice), m_edit(edit), m_date(date), m_query(query)
{
    // The bar's boxes have no labels; their roles name them.
    NameFor(m_choice, QStringLiteral("查询条件"));
    NameFor(m_edit, QStringLiteral("查询内容"));
    if (m_date) {
        NameFor(m_date, QStringLiteral("查询日期"));
        m_date->hide();
        m_date->setDisplayFormat(QString::fromLatin1(kShortDateFormat));
        m_date->setDate(QDate::currentDate());
    }
    connect(m_choice, &QComboBox::currentIndexChanged, this, &FilterBar::ChoiceChanged);
}

int FilterBar::Choice() const
{
    return m_choice->currentIndex();
}

QString FilterBar::Value() const
{
    return DateChosen() && m_date ? DateToStr(m_date->date()) : m_edit->text();
}

void FilterBar::ChoiceChanged()
{
    if (!m_date)
        return;
    const bool date = DateChosen();
    if (date)
        m_date->move(m_hasDatePosition ? m_datePosition : m_edit->pos());
    m_date->setVisible(date);
    m_edit->setVisible(!date);
}

void FilterBar::Reload()
{
    m_choice->setCurrentIndex(0);
    m_query->click();
}

void FilterBar::FilterThis(int item, const QString &value)
{
    m_choice->setCurrentIndex(item);
    if (DateChosen() && m_date) {
        const QDate d = StrToDate(value.left(10));
        if (!d.isValid())
            return; // an empty date (an empty list) filters nothing
        m_date->setDate(d);
    } else {
        m_edit->setText(value);
    }
    m_query->click();
}

QAction *FilterBar::AddReloadItem(QMenu *menu, const QString &objectName)
{
    QAction *action = menu->addAction(QStringLiteral("重新导入"));
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this, &FilterBar::Reload);
    return action;
}

QAction *FilterBar::AddFilterItem(QMenu *menu, const QString &objectName, const QString &caption, int item,
                                  std::function<QString()> currentValue)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this, [this, item, currentValue] {
        Silently([&] { FilterThis(item, currentValue()); });
    });
    return action;
}
