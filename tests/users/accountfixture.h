#pragma once
#include "app/main_login.h"
#include "datalayer/clientstate.h"
#include "datalayer/connection.h"
#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "tests/support/screentest.h"
#include "users/accounts.h"
#include "users/uncryp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

// One row of 用户管理 with its password read back.
struct StoredAccount {
    QString name, password, permission, remark;
    bool operator==(const StoredAccount &) const = default;
};

inline void PrintTo(const StoredAccount &a, std::ostream *os)
{
    *os << QStringList{a.name, a.password, a.permission, a.remark}.join(QStringLiteral(" | ")).toStdString();
}

// The installation database (admin/admin, 高级用户) with admin logged in as a senior user, a
// disabled stand-in main window, and the window under test opened as the main window does.
class AccountTest : public ScreenTest {
protected:
    AccountTest()
    {
        Client().currentPermission = kSeniorUser;
        Client().applyPermission = [this] { ++permissionApplied; };
        Client().setUserPanel = [this](const QString &text) { statusPanel = text; };
        main.show();
        main.setEnabled(false);
        Client().mainWindow = &main;
    }
    ~AccountTest() override
    {
        delete window.data();
        Client().mainWindow = nullptr;
        Client().applyPermission = nullptr;
        Client().setUserPanel = nullptr;
        Client().currentPermission.clear();
    }

    template <class W>
    W *open()
    {
        auto *w = new W();
        w->setAttribute(Qt::WA_DeleteOnClose);
        window = w;
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    // Whether the window is still there after the events of its close have run.
    bool windowGone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }

    static void addAccount(const QString &name, const QString &password, const QString &permission,
                           const QString &remark = QStringLiteral("备注："))
    {
        Run(AddAccountStatement(name, password, permission, remark));
    }

    // Every account in key order, passwords deciphered.
    static std::vector<StoredAccount> accounts()
    {
        Query q(&conn(), QStringLiteral("check"));
        q.SetSQL(QStringLiteral("Select * From 用户管理 Order By ID"));
        q.Open();
        std::vector<StoredAccount> out;
        for (int r = 0; r < q.RecordCount(); ++r) {
            auto t = [&](const char *col) { return q.Text(r, q.FieldIndex(QString::fromUtf8(col))); };
            out.push_back({t("用户名"), DecipherHex(t("密码")), t("权限"), t("备注")});
        }
        return out;
    }

    // The next login's own check on the file, as the login window makes it.
    bool logsIn(const QString &name, const QString &password)
    {
        conn().Close(); // the data module reopens on its next statement
        Connection login(QStringLiteral("login"));
        login.SetDatabase(folder.DatabasePath());
        login.SetExclusive(false);
        return CheckLogin(login, name, password).result == LoginOutcome::Accepted;
    }

    QWidget main;
    QPointer<QWidget> window;
    int permissionApplied = 0;
    QString statusPanel;
};
