#include "datalayer/clientstate.h"
#include "datalayer/labelededit.h"
#include "finance/main_zc.h"
#include "inventory/main_kc.h"
#include "inventory/main_kc_bc.h"
#include "purchasing/main_jh.h"
#include "returns/main_th.h"
#include "sales/main_qtxs.h"
#include "tools/main_admin_js.h"
#include "tests/support/screentest.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A number field of a screen and the control that Tab reaches from it.
struct TabCase {
    const char *screen;
    QWidget *(*open)();
    const char *field; // a LabeledEdit with the numeric key filter
    const char *next;  // object name of the control after it
};

void PrintTo(const TabCase &c, std::ostream *os)
{
    *os << c.screen << ' ' << c.field;
}

QWidget *intake() { return Form_jh = new TForm_jh(); }
QWidget *inventory() { return Form_kc = new TForm_kc(); }
QWidget *blending()
{
    inventory();
    Form_kc->PageControl1->setCurrentWidget(Form_kc->TabSheet2);
    return Form_kc;
}
QWidget *frontDesk() { return Form_qtxs = new TForm_qtxs(); }
QWidget *returns() { return Form_th = new TForm_th(); }

class NumberFieldTab : public ScreenTest, public ::testing::WithParamInterface<TabCase> {
protected:
    ~NumberFieldTab() override { delete screen.data(); }
    QPointer<QWidget> screen;
};

TEST_P(NumberFieldTab, MovesTheFocusOnAndBack)
{
    const TabCase c = GetParam();
    screen = c.open();
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    auto *field = screen->findChild<LabeledEdit *>(c.field);
    QWidget *next = screen->findChild<QWidget *>(c.next);
    ASSERT_TRUE(field && next) << c.screen;
    auto *nextEdit = qobject_cast<QLineEdit *>(next);
    const bool typable = nextEdit && !nextEdit->isReadOnly();
    if (typable)
        nextEdit->clear();
    QLineEdit *edit = field->Edit();
    edit->clear();
    edit->setFocus();

    QTest::keyClicks(edit, "30");
    QTest::keyClick(edit, Qt::Key_Tab);
    QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == next || next->isAncestorOf(focus)) << c.screen;
    QTest::keyClicks(focus, "12.5"); // goes wherever the focus is, as from a keyboard
    EXPECT_EQ(edit->text(), "30") << c.screen;
    if (typable)
        EXPECT_EQ(nextEdit->text(), "12.5") << c.screen;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), edit) << c.screen;
}

INSTANTIATE_TEST_SUITE_P(
    EveryFilteredScreen, NumberFieldTab,
    ::testing::Values(TabCase{"intake", intake, "LabeledEdit1", "LabeledEdit7Edit"},
                      TabCase{"intakeWeight", intake, "LabeledEdit7", "SpeedButton3"},
                      TabCase{"inventory", inventory, "LabeledEdit13", "LabeledEdit2Edit"},
                      TabCase{"blending", blending, "LabeledEdit11", "Button2"},
                      TabCase{"frontDesk", frontDesk, "LabeledEdit2", "LabeledEdit4Edit"},
                      TabCase{"frontDeskWeight", frontDesk, "LabeledEdit7", "SpeedButton1"},
                      TabCase{"returns", returns, "LabeledEdit2", "SpeedButton1"},
                      TabCase{"returnsAmount", returns, "LabeledEdit10", "DateTimePicker2"}),
    [](const ::testing::TestParamInfo<TabCase> &info) { return std::string(info.param.screen); });

// A date or time picker walks its own sections with Tab, so a number typed after Tab went
// into the date instead of the next field. Tab must leave it like any other field.
struct PickerCase {
    const char *screen;
    QWidget *(*open)();
    const char *picker;
};

void PrintTo(const PickerCase &c, std::ostream *os)
{
    *os << c.screen << ' ' << c.picker;
}

QWidget *expenses() { return Form_zc = new TForm_zc(); }
QWidget *notepad()
{
    Client().currentUser = QStringLiteral("admin");
    return Form_js = new TForm_js();
}

class PickerTab : public ScreenTest, public ::testing::WithParamInterface<PickerCase> {
protected:
    ~PickerTab() override { delete screen.data(); }
    QPointer<QWidget> screen;
};

TEST_P(PickerTab, LeavesThePickerAndComesBack)
{
    const PickerCase c = GetParam();
    screen = c.open();
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    auto *picker = screen->findChild<QDateTimeEdit *>(c.picker);
    ASSERT_TRUE(picker) << c.screen;
    picker->setFocus();
    const QDateTime before = picker->dateTime();

    QTest::keyClick(picker, Qt::Key_Tab);
    QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus != picker && !picker->isAncestorOf(focus)) << c.screen;
    QTest::keyClicks(focus, "12");
    EXPECT_EQ(picker->dateTime(), before) << c.screen;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == picker || picker->isAncestorOf(focus)) << c.screen;
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfPicker, PickerTab,
                         ::testing::Values(PickerCase{"expenses", expenses, "DateTimePicker1"},
                                           PickerCase{"frontDesk", frontDesk, "DateTimePicker1"},
                                           PickerCase{"notepadDate", notepad, "DateTimePicker1"},
                                           PickerCase{"notepadTime", notepad, "DateTimePicker2"}),
                         [](const ::testing::TestParamInfo<PickerCase> &info) { return std::string(info.param.screen); });

// Tab into a remark box types after its starter text, and Tab leaves it without a tab stored.
class RemarkTab : public ScreenTest {
protected:
    ~RemarkTab() override { delete screen.data(); }
    QPointer<QWidget> screen;
};

TEST_F(RemarkTab, TypesAfterTheStarterTextAndLeavesWithoutATab)
{
    screen = expenses();
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    auto *memo = screen->findChild<QPlainTextEdit *>("Memo1");
    ASSERT_TRUE(memo);
    const QString start = memo->toPlainText();
    ASSERT_FALSE(start.isEmpty());
    memo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(memo, "power");
    EXPECT_EQ(memo->toPlainText(), start + "power");
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->toPlainText(), start + "power");
}

} // namespace
