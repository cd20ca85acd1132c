#include "datalayer/clientstate.h"
#include "datalayer/dialogs.h"
#include "datalayer/labelededit.h"
#include "datalayer/labelfor.h"
#include "datalayer/numbertext.h"
#include "tests/support/qtprint.h"
#include "tools/jcl_js.h"
#include "tools/nettearatio.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct RatioCase {
    const char *name;
    QString weight, price, ratio;
    QString netWeight, netPrice; // after "=", from "w" and "p" before
    QString error;               // empty when none
};

void PrintTo(const RatioCase &c, std::ostream *os)
{
    *os << c.name;
}

const RatioCase kCases[] = {
    {"Eighty", "100", "150", "80%", "80", "187.5", ""},
    {"EightyFivePriceOnly", "", "150", "85%", "w", "176.470588235294", ""},
    {"HundredKeepsBoth", "100", "150", "100%", "100", "150", ""},
    {"FiftyHalvesAndDoubles", "100", "150", "50%", "50", "300", ""},
    {"TypedRatio", "100", "", "82.5%", "82.5", "p", ""},
    {"TenOfTheList", "3.3", "12", "10%", "0.33", "120", ""},
    {"BlanksAndTwoMarks", "", "150", " 80 %%", "w", "187.5", ""},
    {"BothEmptyDoesNothing", "", "", "nonsense", "w", "p", ""},
    {"ZeroRatio", "100", "150", "0%", "w", "p", "Floating point division by zero"},
    {"MinusZeroRatio", "100", "150", "-0%", "w", "p", "Floating point division by zero"},
    {"ZeroRatioWeightOnly", "100", "", "0%", "0", "p", ""},
    {"WeightNotANumber", "abc", "150", "80%", "w", "p", "'abc' is not a valid floating point value"},
    {"PriceNotANumber", "100", "1,5", "80%", "w", "p", "'1,5' is not a valid floating point value"},
    {"RatioWithoutPercent", "100", "150", "80", "w", "p", "'' is not a valid floating point value"},
    {"RatioNotANumber", "", "150", "八十%", "w", "p", "'八十' is not a valid floating point value"},
    {"BeyondTheRange", "1e308", "150", "1000%", "w", "p", "Floating point overflow"},
    {"PriceBeyondTheRange", "", "1e308", "1%", "w", "p", "Floating point overflow"},
};

class NetTeaSteps : public ::testing::TestWithParam<RatioCase> {};

TEST_P(NetTeaSteps, GiveTheResultsInTheGeneralFormatOrAnErrorAndNone)
{
    const RatioCase &c = GetParam();
    NetTeaBoxes boxes{c.weight, c.price, c.ratio, "w", "p"};
    QString error;
    try {
        CalculateNetTea(boxes);
    } catch (const ConvertError &e) {
        error = e.text();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(boxes.netWeight, c.netWeight);
    EXPECT_EQ(boxes.netPrice, c.netPrice);
}

INSTANTIATE_TEST_SUITE_P(Table, NetTeaSteps, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

class Calculator : public ::testing::Test {
protected:
    Calculator()
    {
        main.show();
        main.setEnabled(false);
        Client().mainWindow = &main;
        screen = Form_jcl = new TForm_jcl();
        screen->show();
        QCoreApplication::processEvents();
    }
    ~Calculator() override
    {
        delete screen.data();
        Client().mainWindow = nullptr;
    }

    Dialogs::Script dialogs;
    QWidget main;
    QPointer<TForm_jcl> screen;
};

TEST_F(Calculator, ShowsItsInputsTheRatioListAndNoResults)
{
    EXPECT_EQ(screen->windowTitle(), "净茶率计算工具");
    EXPECT_EQ(screen->size(), QSize(334, 225));
    EXPECT_TRUE(screen->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(screen->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const struct {
        LabeledEdit *edit;
        const char *label;
        const char *text;
    } fields[] = {{screen->LabeledEdit7, "总重量：", ""},
                  {screen->LabeledEdit1, "毛茶价：", "150"},
                  {screen->LabeledEdit8, "净茶重：", ""},
                  {screen->LabeledEdit6, "净茶价：", ""}};
    for (const auto &f : fields) {
        EXPECT_EQ(f.edit->EditLabel()->text(), f.label);
        EXPECT_EQ(f.edit->text(), f.text) << f.label;
        EXPECT_EQ(f.edit->Edit()->accessibleName(), LabelName(f.label));
    }
    EXPECT_EQ(screen->Label6->text(), "净茶率：");
    EXPECT_EQ(screen->Label6->buddy(), screen->ComboBox6);
    EXPECT_TRUE(screen->ComboBox6->isEditable());
    EXPECT_EQ(screen->ComboBox6->currentText(), "80%");
    QStringList items;
    for (int i = 0; i < screen->ComboBox6->count(); ++i)
        items << screen->ComboBox6->itemText(i);
    EXPECT_EQ(items, QStringList({"100%", "95%", "90%", "85%", "80%", "75%", "70%", "65%", "60%", "55%", "50%", "45%",
                                  "40%", "35%", "30%", "20%", "10%"}));
    EXPECT_EQ(screen->SpeedButton1->text(), "=");
}

TEST_F(Calculator, EqualsFillsBothResultsAndATypedRatioStaysOutOfTheList)
{
    screen->LabeledEdit7->setText("100");
    screen->ComboBox6->setCurrentIndex(screen->ComboBox6->findText("85%"));
    screen->SpeedButton1->click();
    EXPECT_EQ(screen->LabeledEdit8->text(), "85");
    EXPECT_EQ(screen->LabeledEdit6->text(), "176.470588235294");

    // Enter in the ratio box answers as "=" does.
    screen->ComboBox6->lineEdit()->selectAll();
    QTest::keyClicks(screen->ComboBox6->lineEdit(), "82.5%");
    QTest::keyClick(screen->ComboBox6->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(screen->LabeledEdit8->text(), "82.5");
    EXPECT_EQ(screen->ComboBox6->count(), 17);
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(Calculator, AnErrorShowsInTheErrorBoxAndKeepsBothResults)
{
    screen->LabeledEdit7->setText("100");
    screen->LabeledEdit8->setText("old");
    screen->LabeledEdit6->setText("old");
    screen->ComboBox6->setCurrentText("0%");
    screen->SpeedButton1->click();
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(dialogs.Texts(), QStringList({"Floating point division by zero"}));
    EXPECT_EQ(screen->LabeledEdit8->text(), "old");
    EXPECT_EQ(screen->LabeledEdit6->text(), "old");
}

TEST_F(Calculator, EnterInTheWeightAnswersAndClosingGivesTheMainWindowBack)
{
    QTest::keyClicks(screen->LabeledEdit7->Edit(), "50");
    QTest::keyClick(screen->LabeledEdit7->Edit(), Qt::Key_Return);
    EXPECT_EQ(screen->LabeledEdit8->text(), "40");
    EXPECT_EQ(screen->LabeledEdit6->text(), "187.5");
    screen->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_TRUE(screen.isNull());
    EXPECT_EQ(Form_jcl, nullptr);
}

} // namespace
