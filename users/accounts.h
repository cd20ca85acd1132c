#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Connection;

// The rules of the accounts in 用户管理, apart from the windows that use them.

inline const QString kOrdinaryUser = QStringLiteral("普通用户");
inline const QString kSeniorUser = QStringLiteral("高级用户");

// Refusals of the account windows.
inline const QString kNameTaken = QStringLiteral("此用户名已存在!");
inline const QString kCannotDeleteSelf = QStringLiteral("不能删除当前登陆的用户!");
inline const QString kCannotDeleteLastSenior = QStringLiteral("不能删除最后一个高级用户!");
inline const QString kCannotDemoteLastSenior = QStringLiteral("不能修改最后一个高级用户的权限!");
inline const QString kNoManagingRights = QStringLiteral("普通用户不能管理用户资料!");

// One row of 用户管理.
struct Account {
    qint64 id = -1;
    QString name;       // as stored
    QString cipher;     // 密码 as stored
    QString permission;
};

// Every account name in the order the table returns them.
QStringList AccountNames(Connection &conn);

// The accounts whose name equals name; the column compares letters case-insensitively.
std::vector<Account> AccountsNamed(Connection &conn, const QString &name);

// The account a change or delete of name acts on: the only one of that name, or, where an
// older file holds several, the one the list last loaded. Nothing when no single row is meant.
std::optional<Account> TargetAccount(Connection &conn, const QString &name, qint64 loadedId);

// Why an account may not be added, changed or deleted; empty when it may.
QString AddRefusal(Connection &conn, const QString &name);
QString ChangeRefusal(Connection &conn, const Account &account, const QString &newPermission);
QString DeleteRefusal(Connection &conn, const Account &account, const QString &currentUser);

QString AddAccountStatement(const QString &name, const QString &password, const QString &permission,
                            const QString &remark);
// An empty password keeps the stored one.
QString ChangeAccountStatement(qint64 id, const QString &password, const QString &permission);
QString DeleteAccountStatement(qint64 id);
QString SetPasswordStatement(qint64 id, const QString &password);

// The first account of that name, when the typed password is its stored one read back,
// letter case aside; nothing otherwise. Throws ConvertError when the stored text is not one
// the cipher wrote.
std::optional<Account> CheckAccount(Connection &conn, const QString &name, const QString &password);

// The running program works as this account from now on: the recorded handler, the
// permission with its menu rule, and the first status panel.
void TakeOverAccount(const Account &account);
