#include "datalayer/numerickeyfilter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QInputMethodEvent>
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
    if (event->type() == QEvent::KeyPress)
        return filterKey(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::InputMethod)
        return filterCommit(watched, static_cast<QInputMethodEvent *>(event));
    return QObject::eventFilter(watched, event);
}

bool NumericKeyFilter::filterKey(QKeyEvent *key)
{
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && m_enterPresses) {
        m_enterPresses->click();
        return true;
    }
    // Focus moves on; swallowing Tab would put the next field's number into this one.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
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

bool NumericKeyFilter::filterCommit(QObject *watched, QInputMethodEvent *input)
{
    // An input method (a Chinese one above all) commits text instead of pressing keys: of its
    // characters only digits and points pass, as they would typed one by one.
    QString kept;
    for (QChar c : input->commitString())
        if (c == '.' || (c >= '0' && c <= '9'))
            kept += c;
    if (kept == input->commitString())
        return false;
    QInputMethodEvent filtered(input->preeditString(), input->attributes());
    filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
    QCoreApplication::sendEvent(watched, &filtered);
    return true;
}

void InstallNumericFilter(QLineEdit *edit, QAbstractButton *enterPresses)
{
    new NumericKeyFilter(edit, enterPresses);
}
