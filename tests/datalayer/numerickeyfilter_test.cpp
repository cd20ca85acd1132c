#include "datalayer/numerickeyfilter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Two filtered fields in an active window, the second with the Enter variant.
class NumberFields : public ::testing::Test {
protected:
    NumberFields()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QLineEdit *e : {&first, &second})
            layout->addWidget(e);
        layout->addWidget(&button);
        InstallNumericFilter(&first);
        InstallNumericFilter(&second, &button);
        QObject::connect(&button, &QPushButton::clicked, [this] { ++pressed; });
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        first.setFocus();
    }

    // What an input method hands over when the user picks a candidate.
    static void commit(QLineEdit &edit, const QString &text, const QString &preedit = QString())
    {
        QInputMethodEvent e(preedit, {});
        e.setCommitString(text);
        QCoreApplication::sendEvent(&edit, &e);
    }

    QWidget window;
    QLineEdit first{&window}, second{&window};
    QPushButton button{QStringLiteral("="), &window};
    int pressed = 0;
};

TEST_F(NumberFields, TabAndShiftTabMoveOnEvenFromTheEnterVariant)
{
    QTest::keyClicks(&first, "30");
    QTest::keyClick(&first, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &second);
    QTest::keyClicks(&second, "12.5");
    EXPECT_EQ(first.text(), "30");
    EXPECT_EQ(second.text(), "12.5");
    QTest::keyClick(&second, Qt::Key_Return); // the variant presses its button, nothing more
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(QApplication::focusWidget(), &second);
    QTest::keyClick(&second, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), &first);
}

TEST_F(NumberFields, SelectAllThenTypingReplacesTheNumber)
{
    // A swallowed Ctrl+A left the old number unselected, and the new one was typed after it.
    first.setText("138.00");
    QTest::keyClick(&first, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&first, "100");
    EXPECT_EQ(first.text(), "100");
    QTest::keyClick(&first, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&first, Qt::Key_X, Qt::ControlModifier); // cut
    EXPECT_EQ(first.text(), "");
    QTest::keyClick(&first, Qt::Key_Z, Qt::ControlModifier); // undo
    EXPECT_EQ(first.text(), "100");
}

TEST_F(NumberFields, APasteKeepsWhatTypingWouldHaveLetThrough)
{
    first.setText("12.5");
    QTest::keyClick(&first, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&first, Qt::Key_C, Qt::ControlModifier);
    second.setFocus();
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second.text(), "12.5");
    QApplication::clipboard()->setText(QStringLiteral("-3元"));
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second.text(), "12.53");
    EXPECT_EQ(pressed, 0);
}

struct Commit {
    const char *text;
    const char *kept;
};

void PrintTo(const Commit &c, std::ostream *os)
{
    *os << c.text;
}

class CommittedText : public NumberFields, public ::testing::WithParamInterface<Commit> {};

TEST_P(CommittedText, PassesAsTypedKeysWould)
{
    const Commit c = GetParam();
    commit(first, QString::fromUtf8(c.text));
    EXPECT_EQ(first.text(), QString::fromUtf8(c.kept));
}

INSTANTIATE_TEST_SUITE_P(Cases, CommittedText,
                         ::testing::Values(Commit{"12.5", "12.5"}, Commit{"1.2.3", "1.2.3"}, Commit{"12元", "12"},
                                           Commit{"-5", "5"}, Commit{"三十", ""}, Commit{"１２", "12"}, Commit{"１２．５", "12.5"}, Commit{"12。5", "12.5"},
                                           Commit{"3e5", "35"}, Commit{"1\t2", "12"}),
                         [](const ::testing::TestParamInfo<Commit> &info) { return std::to_string(info.index); });

TEST_F(NumberFields, ACompositionInProgressIsShownAndOnlyItsCommitIsFiltered)
{
    first.setText("1");
    commit(first, QString(), QStringLiteral("shi"));
    EXPECT_EQ(first.text(), "1"); // the preedit is not part of the text yet
    commit(first, QStringLiteral("十0"));
    EXPECT_EQ(first.text(), "10");
}

} // namespace
