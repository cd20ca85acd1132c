#pragma once
#include "contacts/contactbook.h"
#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"
#include "tests/support/testfolder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

// One row of 通讯管理 as the tests write and read it.
struct Contact {
    QString name, person, phone, mobile, fax, bank, account, address, remark, type;
    bool operator==(const Contact &) const = default;
};

inline void PrintTo(const Contact &c, std::ostream *os)
{
    *os << QStringList{c.name, c.person, c.phone, c.mobile, c.fax, c.bank, c.account, c.address, c.remark, c.type}
               .join(QStringLiteral(" | "))
               .toStdString();
}

inline const QString kSupplier = QStringLiteral("供应商");
inline const QString kCustomer = QStringLiteral("客户");

// A program folder with the data module open, a disabled stand-in main window and scripted boxes.
class ContactBookFixture : public ::testing::Test {
protected:
    ContactBookFixture()
    {
        Form_sql = new TForm_sql();
        Form_sql->FormCreate();
        main.show();
        main.setEnabled(false);
        Client().mainWindow = &main;
    }
    ~ContactBookFixture() override
    {
        delete book.data();
        Client().mainWindow = nullptr;
        delete Form_sql;
        Form_sql = nullptr;
    }

    // Shows the book as the main window does and waits until its list is laid out.
    template <class Book>
    Book *open()
    {
        auto *b = new Book();
        book = b;
        b->show();
        QCoreApplication::processEvents();
        return b;
    }

    static Connection &conn() { return Form_sql->ADOConnection1; }

    static void insert(const Contact &c)
    {
        const QStringList values{c.name, c.person, c.phone,  c.mobile, c.fax,
                                 c.bank, c.account, c.address, c.remark, c.type};
        QStringList quoted;
        for (const QString &v : values)
            quoted << QuotedStr(v);
        ASSERT_TRUE(RunSQL("insert into 通讯管理(名称,联系人,电话,手机,传真,开户银行,银行账号,地址,备注,类型) values(" +
                               quoted.join(',') + ")",
                           conn()))
            << conn().LastError().toStdString();
    }

    // Every row of the table in key order, read on a query of the test's own.
    static std::vector<Contact> rows()
    {
        Query q(&conn(), "check");
        q.SetSQL("Select * From 通讯管理 Order By ID");
        q.Open();
        std::vector<Contact> out;
        for (int r = 0; r < q.RecordCount(); ++r) {
            auto t = [&](const char *col) { return q.Text(r, q.FieldIndex(QString::fromUtf8(col))); };
            out.push_back({t("名称"), t("联系人"), t("电话"), t("手机"), t("传真"), t("开户银行"), t("银行账号"), t("地址"),
                           t("备注"), t("类型")});
        }
        return out;
    }

    // The names the book's list shows, top to bottom.
    static QStringList listedNames(ContactBook *b)
    {
        QStringList names;
        const int c = b->DBGrid1->ColumnIndex("名称");
        for (int r = 0; r < b->DBGrid1->model()->rowCount(); ++r)
            names << b->DBGrid1->CellText(r, c);
        return names;
    }

    // A click on a row of the list, as the clerk does it.
    static void clickRow(ContactBook *b, int row)
    {
        DBGrid *g = b->DBGrid1;
        const QRect cell = g->visualRect(g->model()->index(row, g->ColumnIndex("名称")));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // The book closed and destroyed, as a click on its close box does.
    void closeBook()
    {
        book->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void fill(ContactBook *b, const Contact &c)
    {
        const QStringList values{c.name, c.person, c.phone, c.mobile, c.fax, c.bank, c.account, c.address};
        for (size_t i = 0; i < ContactBook::kColumns.size(); ++i)
            b->FieldOf(ContactBook::kColumns[i])->setText(values[int(i)]);
        b->memo1->setPlainText(c.remark);
    }

    // The eight fields and the remark as they stand (type left empty).
    static Contact shown(ContactBook *b)
    {
        auto t = [b](const char *col) { return b->FieldOf(QString::fromUtf8(col))->text(); };
        return {t("名称"), t("联系人"), t("电话"), t("手机"), t("传真"), t("开户银行"), t("银行账号"), t("地址"),
                b->memo1->toPlainText(), QString()};
    }

    TestFolder folder;
    Dialogs::Script dialogs;
    QWidget main;
    QPointer<ContactBook> book;
};
