#pragma once
#include "contacts/contactbook.h"

#include <QStringList>
#include <functional>

// The supplier book ("进货渠道管理"): the suppliers of 通讯管理.
class TForm_jh_user : public ContactBook {
    Q_OBJECT
public:
    explicit TForm_jh_user(QWidget *parent = nullptr);
    ~TForm_jh_user() override;

    QAction *E1; // the popup's "删除(&D)"

    // Called on close with the current supplier names, in table order; stock intake sets it
    // while it is open to refresh its supplier box.
    static std::function<void(const QStringList &)> SupplierNamesChanged;

public slots:
    void E1Click();

protected:
    void FormClose() override;
};

extern TForm_jh_user *Form_jh_user;
