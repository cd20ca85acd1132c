#include "datalayer/numerickeyfilter.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

NumericKeyFilter::NumericKeyFilter(QLineEdit *edit, QAbstractButton *enterPresses)
    : QObject(edit), m_enterPresses(enterPresses)
{
    edit->installEventFilter(this);
}

bool NumericKeyFilter::Passes(QChar c)
{
    return c == QChar(8) || c == QChar(13) || c == QChar(27) || c == '.' || (c >= '0' && c <= '9');
}

bool NumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && m_enterPresses) {
        m_enterPresses->click();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return false; // arrows, Home, End and the like move the cursor; they type nothing
    if (key->key() == Qt::Key_Delete)
        return false;
    for (QChar c : text)
        if (!Passes(c))
            return true;
    return false;
}

void InstallNumericFilter(QLineEdit *edit, QAbstractButton *enterPresses)
{
    new NumericKeyFilter(edit, enterPresses);
}
