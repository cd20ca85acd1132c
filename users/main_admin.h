#pragma once
#include "users/accounts.h"

#include <QWidget>
#include <optional>

class DBGrid;
class LabeledEdit;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class Query;

// User management ("用户管理"): the accounts of 用户管理, added, changed and deleted.
class TForm_admin : public QWidget {
    Q_OBJECT
public:
    explicit TForm_admin(QWidget *parent = nullptr);
    ~TForm_admin() override;

    LabeledEdit *LabeledEdit1; // 用户名
    LabeledEdit *LabeledEdit2; // 密码
    QLabel *Label1;
    QComboBox *ComboBox1;      // 权限
    QPushButton *Button1, *Button2, *Button3;
    QPlainTextEdit *Memo1;
    DBGrid *DBGrid1;
    QMenu *PopupMenu1;
    QAction *C1, *D1, *E1;
    Query *UserList; // the window's own list of the accounts

public slots:
    void FormShow();
    void DBGrid1CellClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormClose();
    bool mayManage();
    // The account a change or delete of the typed name acts on; a notice when none.
    std::optional<Account> accountToWrite(const QString &name);
    bool refused(const QString &why);
    void clearNameAndPassword();

    qint64 m_loadedId = -1; // the account the last row click loaded
};

extern TForm_admin *Form_admin;
