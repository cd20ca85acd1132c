#include "tests/app/everywindow.h"

#include "app/main_client.h"
#include "datalayer/runsql.h"
#include "datalayer/sql_ado_conn.h"

#include <QApplication>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

template <typename Box>
void tabFrom(Box *box, const OpenedWindow &opened, QStringList &swallowed)
{
    const QString where = opened.trigger + u' ' + opened.window->objectName() + u' ' + box->objectName();
    if (!box->isVisible() || box->isReadOnly())
        return;
    QWidget *top = box->window();
    QApplication::setActiveWindow(top);
    if (!QTest::qWaitForWindowActive(top)) {
        swallowed << where + QStringLiteral(": its window never became active");
        return;
    }
    box->setFocus();
    box->setPlainText(QStringLiteral("备注：x"));
    QTest::keyClick(box, Qt::Key_Tab);
    if (box->toPlainText() != QStringLiteral("备注：x") || QApplication::focusWidget() == box)
        swallowed << where;
}

TEST(EveryWindow, TabLeavesEveryTextBoxAndPutsNoTabIntoIt)
{
    QStringList swallowed;
    int boxes = 0;
    ForEveryWindow([&](const OpenedWindow &opened) {
        for (QPlainTextEdit *box : opened.window->findChildren<QPlainTextEdit *>()) {
            boxes += box->isVisible() && !box->isReadOnly();
            tabFrom(box, opened, swallowed);
        }
        for (QTextEdit *box : opened.window->findChildren<QTextEdit *>())
            tabFrom(box, opened, swallowed);
    });
    EXPECT_GE(boxes, 8);
    EXPECT_TRUE(swallowed.isEmpty()) << "Tab stays in:\n" << swallowed.join(u'\n').toStdString();
}

TEST(EveryWindow, AWindowThatDisablesTheMainWindowStaysAboveIt)
{
    // A click on the disabled main window raises it over a window that is not kept on top,
    // and the program then looks locked.
    QStringList hidden;
    int disabling = 0;
    ForEveryWindow([&](const OpenedWindow &opened) {
        if (opened.main->isEnabled() || !opened.window->isWindow())
            return;
        ++disabling;
        if (!opened.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            hidden << opened.trigger + u' ' + opened.window->objectName();
    });
    EXPECT_GE(disabling, 8);
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(u'\n').toStdString();
}

// A row in every list, so that each grid has cells for Tab to walk.
void seedEveryList()
{
    for (const char *sql : {
             "insert into 库存管理(编号,品种,产地,毛茶价,总重量,剩余重量,总金额,入库日期,毛净茶,配茶) "
             "values('A1','铁观音','安溪',30,10,10,300,'2026-01-01','毛茶',0)",
             "insert into 库存管理(编号,品种,净茶价,总重量,剩余重量,总金额,入库日期,毛净茶,配茶) "
             "values('P1','铁观音',40,5,5,200,'2026-01-01','净茶',1)",
             "insert into 销售记录(编号,品种,客户,日期,单价,重量,总金额,实收款,毛净茶) "
             "values('A1','铁观音','王五','2026-01-02',60,1,60,60,'毛茶')",
             "insert into 退货管理(编号,品种,毛净茶,退回重量,退回日期,退回金额) values('A1','铁观音','毛茶',1,'2026-01-03',30)",
             "insert into 欠款管理(客户名称,项目,金额,日期) values('王五','欠款',50,'2026-01-02')",
             "insert into 支出管理(日期,金额,事项) values('2026-01-02',20,'电费')",
             "insert into 通讯管理(名称,类型) values('王五','客户')",
             "insert into 通讯管理(名称,类型) values('张三','供应商')",
         })
        ASSERT_TRUE(RunSQL(QString::fromUtf8(sql), Form_sql->ADOConnection1)) << sql;
}

bool isField(const QWidget *w)
{
    // The box itself, not the line edit inside a choice box or a date picker.
    const QWidget *p = w->parentWidget();
    if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p))
        return false;
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QCheckBox *>(w);
}

TEST(EveryWindow, TabAndShiftTabReachEveryFieldWithRowsInTheLists)
{
    QStringList missed;
    ForEveryWindow(
        [&](const OpenedWindow &opened) {
            QWidget *top = opened.window->window();
            QApplication::setActiveWindow(top);
            ASSERT_TRUE(QTest::qWaitForWindowActive(top));
            QList<QWidget *> fields;
            for (QWidget *w : opened.window->findChildren<QWidget *>())
                if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && isField(w))
                    fields << w;
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
                if (fields.isEmpty())
                    return;
                fields.first()->setFocus();
                QSet<QWidget *> seen;
                for (int i = 0; i < 200 && QApplication::focusWidget(); ++i) {
                    seen.insert(QApplication::focusWidget());
                    QTest::keyClick(QApplication::focusWidget(), key,
                                    key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                }
                for (QWidget *w : fields)
                    if (!seen.contains(w))
                        missed << opened.trigger + u' ' + opened.window->objectName() + u' ' + w->objectName() +
                                      (key == Qt::Key_Tab ? QStringLiteral(" by Tab") : QStringLiteral(" by Shift+Tab"));
            }
        },
        seedEveryList);
    EXPECT_TRUE(missed.isEmpty()) << missed.join(u'\n').toStdString();
}

} // namespace
