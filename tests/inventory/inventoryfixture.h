#pragma once
#include "datalayer/clientstate.h"
#include "datalayer/dbgrid.h"
#include "datalayer/dialect.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/query.h"
#include "datalayer/runsql.h"
#include "datalayer/connection.h"
#include "datalayer/sql_ado_conn.h"
#include "inventory/main_kc.h"
#include "inventory/main_kc_bc.h"
#include "tests/support/screentest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

// One stock lot as a test stores it; an empty number text stores NULL.
struct LotRow {
    QString number;
    QString remaining = "10";
    QString rawPrice = "100";
    QString netPrice = "90";
    QString salePrice = "150";
    QString variety = "龙井";
    QString origin = "杭州";
    QString supplier = "甲茶厂";
    QString handler = "李四";
    QString date = "2026-03-01";
    QString rawNet = "毛茶";
    QString remark = "备注：";
};

class InventoryTest : public ScreenTest {
protected:
    InventoryTest() : ScreenTest("张三") {}
    ~InventoryTest() override
    {
        delete screen.data();
        delete Form_bcadd;
    }

    static QString number(const QString &text) { return text.isEmpty() ? QStringLiteral("NULL") : text; }

    static qint64 lot(const LotRow &r)
    {
        const QString sql = "insert into 库存管理(编号,剩余重量,总重量,毛茶价,净茶价,销售单价,品种,产地,供应商,经办人,入库日期,"
                            "毛净茶,备注,总金额,实付款) values(" +
                            QStringList{QuotedStr(r.number), number(r.remaining), number(r.remaining), number(r.rawPrice),
                                        number(r.netPrice), number(r.salePrice), QuotedStr(r.variety), QuotedStr(r.origin),
                                        QuotedStr(r.supplier), QuotedStr(r.handler), QuotedStr(r.date), QuotedStr(r.rawNet),
                                        QuotedStr(r.remark), "1000", "900"}
                                .join(',') +
                            ')';
        Run(sql);
        return NewestLot();
    }

    static QString scalar(const QString &sql) { return Scalar(sql); }

    static QString column(qint64 id, const QString &name)
    {
        return scalar("Select " + name + " From 库存管理 where ID = " + QString::number(id));
    }

    TForm_kc *open()
    {
        Form_bcadd = new TForm_bcadd();
        screen = Form_kc = new TForm_kc();
        screen->resize(1200, 800);
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    static QStringList listed(DBGrid *grid, const QString &name = "编号") { return Listed(grid, name); }

    // Clicks the row of a grid that shows this lot number, on the tab that holds the grid.
    void clickLot(DBGrid *grid, const QString &lotNumber)
    {
        screen->PageControl1->setCurrentWidget(grid == screen->DBGrid1 ? screen->TabSheet1 : screen->TabSheet2);
        QCoreApplication::processEvents();
        const int row = int(listed(grid).indexOf(lotNumber));
        ASSERT_GE(row, 0) << lotNumber.toStdString();
        const QRect cell = grid->visualRect(grid->model()->index(row, grid->ColumnIndex("编号")));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    static void choose(QComboBox *box, const QString &text)
    {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }

    // Offers a lot from the all-stock grid and confirms a weight in the component dialog.
    void addPortion(const QString &lotNumber, const QString &weight)
    {
        clickLot(screen->DBGrid3, lotNumber);
        screen->N1->trigger();
        ASSERT_TRUE(Form_bcadd && Form_bcadd->isVisible());
        Form_bcadd->LabeledEdit4->setText(weight);
        Form_bcadd->Button1->click();
    }

    // The component list, one "lot|weight|price|amount" text per row.
    QStringList portions() const
    {
        QStringList out;
        for (int r = 0; r < screen->ListView1->topLevelItemCount(); ++r) {
            const QTreeWidgetItem *i = screen->ListView1->topLevelItem(r);
            out << QStringList{i->text(0), i->text(1), i->text(2), i->text(3)}.join('|');
        }
        return out;
    }

    // The three blend totals: weight, amount, unit price.
    QStringList totals() const
    {
        return {screen->LabeledEdit6->text(), screen->LabeledEdit9->text(), screen->LabeledEdit4->text()};
    }

    QPointer<TForm_kc> screen;
};
