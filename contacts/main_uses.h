#pragma once
#include "contacts/contactbook.h"

// The customer book ("客户管理"): the customers of 通讯管理.
class TForm_uses : public ContactBook {
    Q_OBJECT
public:
    explicit TForm_uses(QWidget *parent = nullptr);
    ~TForm_uses() override;

    QAction *D1; // the popup's "删除(&D)"

public slots:
    void D1Click();
};

extern TForm_uses *Form_uses;
