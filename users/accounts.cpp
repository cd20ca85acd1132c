#include "users/accounts.h"

#include "datalayer/clientstate.h"
#include "datalayer/dialect.h"
#include "datalayer/query.h"
#include "datalayer/schema.h"
#include "users/uncryp.h"

namespace {

std::vector<Account> readAccounts(Connection &conn, const QString &where)
{
    Query q(&conn, QStringLiteral("accounts"));
    q.SetSQL(QStringLiteral("select * from ") + tables::Users + QStringLiteral(" where ") + where +
             QStringLiteral(" Order By ID"));
    q.Open();
    std::vector<Account> out;
    for (q.First(); !q.Eof(); q.Next())
        out.push_back({q.CurrentKey(), q.FieldByName(QStringLiteral("用户名")).AsString(),
                       q.FieldByName(QStringLiteral("密码")).AsString(), q.FieldByName(QStringLiteral("权限")).AsString()});
    return out;
}

// Whether some account besides this one keeps the senior permission.
bool otherSeniorExists(Connection &conn, qint64 id)
{
    return !readAccounts(conn, QStringLiteral("权限 = ") + QuotedStr(kSeniorUser) + QStringLiteral(" and ID <> ") +
                                   QString::number(id))
                .empty();
}

QString byId(qint64 id)
{
    return QStringLiteral(" WHERE ID = ") + QString::number(id);
}

} // namespace

QStringList AccountNames(Connection &conn)
{
    Query q(&conn, QStringLiteral("accounts"));
    q.SetSQL(QStringLiteral("select 用户名 from ") + tables::Users);
    q.Open();
    QStringList names;
    for (int r = 0; r < q.RecordCount(); ++r)
        names << q.Text(r, 0);
    return names;
}

std::vector<Account> AccountsNamed(Connection &conn, const QString &name)
{
    return readAccounts(conn, QStringLiteral("用户名 = ") + QuotedStr(name));
}

std::optional<Account> TargetAccount(Connection &conn, const QString &name, qint64 loadedId)
{
    const std::vector<Account> named = AccountsNamed(conn, name);
    if (named.size() == 1)
        return named.front();
    for (const Account &a : named)
        if (a.id == loadedId)
            return a;
    return std::nullopt;
}

QString AddRefusal(Connection &conn, const QString &name)
{
    return AccountsNamed(conn, name).empty() ? QString() : kNameTaken;
}

QString ChangeRefusal(Connection &conn, const Account &account, const QString &newPermission)
{
    if (account.permission == kSeniorUser && newPermission != kSeniorUser && !otherSeniorExists(conn, account.id))
        return kCannotDemoteLastSenior;
    return {};
}

QString DeleteRefusal(Connection &conn, const Account &account, const QString &currentUser)
{
    if (account.name.compare(currentUser, Qt::CaseInsensitive) == 0)
        return kCannotDeleteSelf;
    if (account.permission == kSeniorUser && !otherSeniorExists(conn, account.id))
        return kCannotDeleteLastSenior;
    return {};
}

QString AddAccountStatement(const QString &name, const QString &password, const QString &permission,
                            const QString &remark)
{
    return QStringLiteral("insert into ") + tables::Users + QStringLiteral("(用户名,密码,权限,备注) values(") +
           QuotedStr(name) + u',' + QuotedStr(EncipherHex(password)) + u',' + QuotedStr(permission) + u',' +
           QuotedStr(remark) + u')';
}

QString ChangeAccountStatement(qint64 id, const QString &password, const QString &permission)
{
    QString sets;
    if (!password.isEmpty())
        sets = QStringLiteral("密码 = ") + QuotedStr(EncipherHex(password)) + u',';
    return QStringLiteral("UPDATE ") + tables::Users + QStringLiteral(" SET ") + sets + QStringLiteral("权限=") +
           QuotedStr(permission) + byId(id);
}

QString DeleteAccountStatement(qint64 id)
{
    return QStringLiteral("DELETE FROM ") + tables::Users + byId(id);
}

QString SetPasswordStatement(qint64 id, const QString &password)
{
    return QStringLiteral("UPDATE ") + tables::Users + QStringLiteral(" SET 密码 = ") +
           QuotedStr(EncipherHex(password)) + byId(id);
}

std::optional<Account> CheckAccount(Connection &conn, const QString &name, const QString &password)
{
    if (password.isEmpty())
        return std::nullopt;
    const std::vector<Account> named = AccountsNamed(conn, name);
    if (named.empty() || password.compare(DecipherHex(named.front().cipher), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return named.front();
}

void TakeOverAccount(const Account &account)
{
    ClientState &state = Client();
    state.currentUser = account.name;
    state.currentPermission = account.permission;
    if (state.applyPermission)
        state.applyPermission();
    if (state.setUserPanel)
        state.setUserPanel(QStringLiteral("当前用户:") + account.name + u' ' + account.permission);
}
