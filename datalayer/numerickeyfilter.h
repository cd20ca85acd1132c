#pragma once
#include <QObject>

class QAbstractButton;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

// The key filter of numeric fields: only digits, ".", Backspace, Enter and Escape pass;
// every other character, control characters included, is discarded. Tab and Shift+Tab
// still move the focus, and select all, copy, cut, undo and redo work, as in every other
// field. Text an input method commits or a paste brings is held to the same rule, character
// by character. With a button given, Enter presses that button and is then discarded itself.
class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QLineEdit *edit, QAbstractButton *enterPresses = nullptr);
    static bool Passes(QChar c);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterKey(QLineEdit *edit, QKeyEvent *key);
    bool filterCommit(QObject *watched, QInputMethodEvent *input);

    QAbstractButton *m_enterPresses;
};

// Installs the filter on an edit box; the filter lives as long as the box.
void InstallNumericFilter(QLineEdit *edit, QAbstractButton *enterPresses = nullptr);
