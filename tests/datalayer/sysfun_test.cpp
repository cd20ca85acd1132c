#include "datalayer/gbk.h"
#include "datalayer/labelededit.h"
#include "datalayer/sysfun.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct InitialCase {
    const char *name;
    QString text;
    char initial;
};

class PinyinInitialTest : public ::testing::TestWithParam<InitialCase> {};

TEST_P(PinyinInitialTest, GivesTheLetterOfTheFirstCharactersRange)
{
    EXPECT_EQ(PinyinInitial(GetParam().text), QChar(QLatin1Char(GetParam().initial)));
}

QString Gbk(const char *bytes)
{
    return FromGbk(QByteArray(bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PinyinInitialTest,
    ::testing::Values(InitialCase{"TieGuanYin", QStringLiteral("铁观音"), 'T'},
                      InitialCase{"Xue", QStringLiteral("雪芽"), 'X'},
                      InitialCase{"AnXi", QStringLiteral("安溪"), 'A'},
                      InitialCase{"LatinLetter", QStringLiteral("Longjing"), ' '},
                      InitialCase{"Digit", QStringLiteral("1号茶"), ' '},
                      InitialCase{"Empty", QString(), ' '},
                      InitialCase{"SingleByte", QStringLiteral("a"), ' '},
                      InitialCase{"FirstLevelFirst", Gbk("\xB0\xA1"), 'A'},
                      InitialCase{"FirstLevelLast", Gbk("\xD7\xF9"), 'Z'},
                      InitialCase{"SecondLevel", Gbk("\xD8\xA1"), ' '},
                      InitialCase{"LastOfA", Gbk("\xB0\xC4"), 'A'},
                      InitialCase{"FirstOfB", Gbk("\xB0\xC5"), 'B'},
                      InitialCase{"LastOfO", Gbk("\xC5\xBD"), 'O'},
                      InitialCase{"FirstOfP", Gbk("\xC5\xBE"), 'P'},
                      InitialCase{"LastOfT", Gbk("\xCD\xD9"), 'T'},
                      InitialCase{"FirstOfW", Gbk("\xCD\xDA"), 'W'},
                      // A GBK extension code inside a range counts by its raw value.
                      InitialCase{"ExtensionInsideB", Gbk("\xB1\x40"), 'B'},
                      InitialCase{"ExtensionBeforeA", Gbk("\xB0\x40"), ' '},
                      InitialCase{"Punctuation", QStringLiteral("，雪"), ' '},
                      InitialCase{"Kana", QStringLiteral("あ"), ' '}),
    [](const ::testing::TestParamInfo<InitialCase> &info) { return std::string(info.param.name); });

TEST(PinyinInitialPremise, TheCasesHoldTheCodesTheyName)
{
    EXPECT_EQ(ToGbk(QStringLiteral("雪")), QByteArray("\xD1\xA9"));
    EXPECT_EQ(ToGbk(Gbk("\xB1\x40")), QByteArray("\xB1\x40"));
    EXPECT_EQ(Gbk("\xD8\xA1").size(), 1);
}

class ListFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("skins/old")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("skins/.cache")));
        for (const char *name : {"skin0076.skn", "skin0012.skn", ".hidden", "皮肤.skn"}) {
            QFile file(folder() + "/" + QString::fromUtf8(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QString folder() const { return m_dir.filePath(QStringLiteral("skins")); }

    QTemporaryDir m_dir;
};

TEST_F(ListFolderTest, ListsFilesAndFoldersButNoDotNames)
{
    const QStringList expected{QStringLiteral("old"), QStringLiteral("skin0012.skn"), QStringLiteral("skin0076.skn"),
                               QStringLiteral("皮肤.skn")};
    for (const QString &path : {folder(), folder() + "/", folder() + "\\"}) {
        QStringList names;
        EXPECT_EQ(ListFolder(path, names), 4) << path.toStdString();
        EXPECT_EQ(names, expected) << path.toStdString();
    }
}

TEST_F(ListFolderTest, AFolderWithOnlyOldAndADotFileGivesOld)
{
    const QString path = m_dir.filePath(QStringLiteral("bakdata"));
    ASSERT_TRUE(QDir().mkpath(path + "/old"));
    QFile dotFile(path + "/.keep");
    ASSERT_TRUE(dotFile.open(QIODevice::WriteOnly));
    QStringList names;
    EXPECT_EQ(ListFolder(path, names), 1);
    EXPECT_EQ(names, QStringList{QStringLiteral("old")});
}

TEST_F(ListFolderTest, NamesAlreadyInTheListStayAndCount)
{
    QStringList names{QStringLiteral("earlier")};
    EXPECT_EQ(ListFolder(folder(), names), 5);
    EXPECT_EQ(names.first(), "earlier");
    EXPECT_EQ(names.size(), 5);
}

TEST_F(ListFolderTest, WhatIsNoFolderLeavesTheListAsItWas)
{
    for (const QString &path : {m_dir.filePath(QStringLiteral("missing")), folder() + "/skin0012.skn", QString()}) {
        QStringList names{QStringLiteral("earlier")};
        EXPECT_EQ(ListFolder(path, names), 1) << path.toStdString();
        EXPECT_EQ(names, QStringList{QStringLiteral("earlier")}) << path.toStdString();
    }
}

void MakeOpaque(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The colour the form shows at the right end of a widget, where no caption text reaches.
QColor ShownBehind(QWidget *form, QWidget *widget)
{
    const QImage image = form->grab().toImage();
    const QPoint point = widget->mapTo(form, QPoint(widget->width() - 2, widget->height() / 2));
    return image.pixelColor(point * image.devicePixelRatio());
}

TEST(PrepareForm, MakesLabelsAndLabeledEditLabelsTransparent)
{
    QWidget form;
    form.resize(300, 200);
    MakeOpaque(&form, Qt::red);
    auto *layout = new QVBoxLayout(&form);
    auto *panel = new QFrame(&form); // labels on panels belong to the form too
    auto *panelLayout = new QVBoxLayout(panel);
    auto *label = new QLabel(panel);
    label->setObjectName(QStringLiteral("Label1"));
    panelLayout->addWidget(label);
    auto *edit = new LabeledEdit(QStringLiteral("单价"), &form);
    edit->setObjectName(QStringLiteral("LabeledEdit3"));
    layout->addWidget(panel);
    layout->addWidget(edit);
    for (QLabel *l : {label, edit->EditLabel()}) {
        l->setMinimumSize(200, 20);
        MakeOpaque(l, Qt::blue);
    }
    form.show();
    QApplication::processEvents();
    ASSERT_EQ(ShownBehind(&form, label), QColor(Qt::blue));

    PrepareForm(&form);

    for (QLabel *l : {label, edit->EditLabel()}) {
        EXPECT_FALSE(l->autoFillBackground());
        EXPECT_EQ(l->palette().color(QPalette::Window).alpha(), 0);
        EXPECT_EQ(ShownBehind(&form, l), QColor(Qt::red));
    }
}

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

TEST(LabeledEdit, TheEditIsNamedByItsCaption)
{
    LabeledEdit edit(QStringLiteral("重量"));
    EXPECT_EQ(edit.EditLabel()->buddy(), edit.Edit());
    EXPECT_EQ(AccessibleName(edit.Edit()), "重量");
    edit.setLabelText(QStringLiteral("单价"));
    EXPECT_EQ(AccessibleName(edit.Edit()), "单价");
    edit.setLabelText(QStringLiteral(" 实收款(&S) "));
    EXPECT_EQ(AccessibleName(edit.Edit()), "实收款(S)");
    EXPECT_EQ(edit.Edit()->accessibleName(), "实收款(S)");
}

TEST(LabeledEdit, TextPassesThroughAndTheCaptionMoves)
{
    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    auto *edit = new LabeledEdit(QStringLiteral("编号"), &form);
    layout->addWidget(edit);
    edit->setText(QStringLiteral("T0001"));
    EXPECT_EQ(edit->Edit()->text(), "T0001");
    edit->Edit()->setText(QStringLiteral("X0002"));
    EXPECT_EQ(edit->text(), "X0002");

    form.show();
    QApplication::processEvents();
    EXPECT_EQ(edit->labelPosition(), LabeledEdit::Above);
    EXPECT_LT(edit->EditLabel()->geometry().bottom(), edit->Edit()->geometry().top());
    edit->setLabelPosition(LabeledEdit::Left);
    QApplication::processEvents();
    EXPECT_LT(edit->EditLabel()->geometry().right(), edit->Edit()->geometry().left());
}

} // namespace
