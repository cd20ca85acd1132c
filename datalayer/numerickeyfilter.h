#pragma once
#include <QObject>

class QAbstractButton;
class QLineEdit;

// The key filter of numeric fields: only digits, ".", Backspace, Enter and Escape pass;
// every other character, control characters included, is discarded. With a button given,
// Enter presses that button and is then discarded itself.
class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QLineEdit *edit, QAbstractButton *enterPresses = nullptr);
    static bool Passes(QChar c);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_enterPresses;
};

// Installs the filter on an edit box; the filter lives as long as the box.
void InstallNumericFilter(QLineEdit *edit, QAbstractButton *enterPresses = nullptr);
