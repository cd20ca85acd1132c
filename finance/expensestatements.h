#pragma once
#include <QDate>
#include <QString>

// The statements of the expenses window over 支出管理.

// Every expense newest day first ("重新导入"), or the expenses of one day ("查").
QString ExpenseListStatement();
QString ExpenseDayStatement(const QDate &day);

// Add, change and delete; the amount as checked, the description quoted whole.
QString ExpenseInsertStatement(const QDate &day, double amount, const QString &description);
QString ExpenseUpdateStatement(qint64 id, const QDate &day, double amount, const QString &description);
QString ExpenseDeleteStatement(qint64 id);

// Why a typed amount cannot be stored, or empty.
QString ExpenseAmountProblem(const QString &amount);

// The description box's first line.
inline const QString kExpenseMemoStart = QStringLiteral("事项：");
