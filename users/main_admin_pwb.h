#pragma once
#include <QWidget>

class LabeledEdit;
class QPushButton;

// Password change ("密码修改"): the current user gives the old password and a new one twice.
class TForm_pwbedit : public QWidget {
    Q_OBJECT
public:
    explicit TForm_pwbedit(QWidget *parent = nullptr);
    ~TForm_pwbedit() override;

    LabeledEdit *LabeledEdit1; // 用户名, read-only
    LabeledEdit *LabeledEdit2; // 旧密码
    LabeledEdit *LabeledEdit3; // 新密码
    LabeledEdit *LabeledEdit4; // 密码确认
    QPushButton *Button1, *Button2;

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();

};

extern TForm_pwbedit *Form_pwbedit;
