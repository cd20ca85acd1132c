#include "datalayer/labelededit.h"

#include "datalayer/labelfor.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

LabeledEdit::LabeledEdit(QWidget *parent)
    : LabeledEdit(QString(), parent)
{
}

LabeledEdit::LabeledEdit(const QString &labelText, QWidget *parent)
    : QWidget(parent)
    , m_label(new QLabel(labelText, this))
    , m_edit(new QLineEdit(this))
    , m_layout(new QBoxLayout(QBoxLayout::TopToBottom, this))
{
    LabelFor(m_label, m_edit);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    m_layout->addWidget(m_label);
    m_layout->addWidget(m_edit);
    // Focusing the box means typing into it.
    setFocusProxy(m_edit);
}

QString LabeledEdit::text() const
{
    return m_edit->text();
}

void LabeledEdit::setText(const QString &text)
{
    m_edit->setText(text);
}

void LabeledEdit::setLabelText(const QString &text)
{
    m_label->setText(text);
    LabelFor(m_label, m_edit);
}

void LabeledEdit::setLabelPosition(LabelPosition position)
{
    m_position = position;
    m_layout->setDirection(position == Above ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}
