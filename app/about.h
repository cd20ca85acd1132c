#pragma once
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The about box: a fixed text about the program and "退出".
class TForm_about : public QWidget {
    Q_OBJECT
public:
    explicit TForm_about(QWidget *parent = nullptr);
    ~TForm_about() override;
    QPlainTextEdit *Memo1;
    QPushButton *Button1;
};

extern TForm_about *Form_about;
