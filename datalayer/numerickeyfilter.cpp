#include "datalayer/numerickeyfilter.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
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

namespace {
// What typing lets into a number field of a text handed over whole. An input method in its
// full-width mode gives full-width digits and a Chinese full stop: they mean the same number.
QString typeable(const QString &text)
{
    QString kept;
    for (QChar c : text) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = QChar('0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF0E) || c == QChar(0x3002))
            c = '.';
        if (c == '.' || (c >= '0' && c <= '9'))
            kept += c;
    }
    return kept;
}
} // namespace

bool NumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return filterKey(qobject_cast<QLineEdit *>(watched), static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::InputMethod)
        return filterCommit(watched, static_cast<QInputMethodEvent *>(event));
    return QObject::eventFilter(watched, event);
}

bool NumericKeyFilter::filterKey(QLineEdit *edit, QKeyEvent *key)
{
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && m_enterPresses) {
        m_enterPresses->click();
        return true;
    }
    // Focus moves on; swallowing Tab would put the next field's number into this one.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    // The editing shortcuts type nothing: swallowing Ctrl+A put the new number after the old
    // one. A paste keeps what typing would have let through.
    for (QKeySequence::StandardKey k : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                        QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(k))
            return false;
    if (key->matches(QKeySequence::Paste)) {
        if (edit && !edit->isReadOnly())
            edit->insert(typeable(QGuiApplication::clipboard()->text()));
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

bool NumericKeyFilter::filterCommit(QObject *watched, QInputMethodEvent *input)
{
    // An input method (a Chinese one above all) commits text instead of pressing keys: of its
    // characters only digits and points pass, as they would typed one by one.
    const QString kept = typeable(input->commitString());
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
