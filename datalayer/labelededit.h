#pragma once
#include <QWidget>

class QBoxLayout;
class QLabel;
class QLineEdit;

// A line edit with its caption label above it or to its left.
class LabeledEdit : public QWidget {
    Q_OBJECT
public:
    enum LabelPosition { Above, Left };

    explicit LabeledEdit(QWidget *parent = nullptr);
    explicit LabeledEdit(const QString &labelText, QWidget *parent = nullptr);

    // The caption; the edit is its buddy, so the edit's accessible name follows the caption.
    QLabel *EditLabel() const { return m_label; }
    // The edit box itself.
    QLineEdit *Edit() const { return m_edit; }

    // The edit's text.
    QString text() const;
    void setText(const QString &text);

    // The caption's text.
    void setLabelText(const QString &text);
    // Where the caption stands beside the edit.
    void setLabelPosition(LabelPosition position);
    LabelPosition labelPosition() const { return m_position; }

private:
    QLabel *m_label;
    QLineEdit *m_edit;
    QBoxLayout *m_layout;
    LabelPosition m_position = Above;
};
