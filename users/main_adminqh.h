#pragma once
#include <QWidget>

class LabeledEdit;
class QComboBox;
class QLabel;
class QPushButton;

// User switch ("用户切换"): another account takes over the running program.
class TForm_adminqh : public QWidget {
    Q_OBJECT
public:
    explicit TForm_adminqh(QWidget *parent = nullptr);
    ~TForm_adminqh() override;

    QLabel *Label1;
    QComboBox *ComboBox1;      // 用户名
    LabeledEdit *LabeledEdit1; // 密码
    QPushButton *Button1, *Button2;

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();

};

extern TForm_adminqh *Form_adminqh;
