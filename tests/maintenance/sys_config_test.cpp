#include "app/main_client.h"
#include "datalayer/clientstate.h"
#include "datalayer/inifile.h"
#include "maintenance/data_bak.h"
#include "maintenance/sys_config.h"
#include "tests/support/screentest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList listed(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class SystemOptions : public ScreenTest {
protected:
    ~SystemOptions() override
    {
        if (Form_config)
            Form_config->close();
        qApp->setStyleSheet(QString());
    }
    TForm_config *open()
    {
        Form_config = new TForm_config();
        Form_config->show();
        return Form_config;
    }
    IniFile ini() const { return IniFile(folder.Path("config.ini")); }
};

TEST_F(SystemOptions, TheSkinListHoldsTheSkinFilesOnly)
{
    ASSERT_TRUE(QDir().mkpath(folder.Path("skins/old")));
    for (const char *name : {"b.skn", "a.skn", "C.SKN", ".hidden.skn", "readme.txt"})
        writeFile(folder.Path("skins/") + name, "QToolBar { background: #123456; }");
    TForm_config *w = open();
    EXPECT_EQ(w->windowTitle(), "系统选项");
    EXPECT_EQ(w->PageControl1->currentWidget(), w->TabSheet1);
    EXPECT_EQ(w->PageControl1->tabText(0), "皮肤选择");
    EXPECT_EQ(w->PageControl1->tabText(1), "选项设置");
    EXPECT_EQ(listed(w->ListBox1), (QStringList{"C.SKN", "a.skn", "b.skn"}));
}

TEST_F(SystemOptions, AChosenSkinIsAppliedAtOnceRememberedAndUsedAtTheNextStart)
{
    ASSERT_TRUE(QDir().mkpath(folder.Path("skins")));
    writeFile(folder.Path("skins/skin0076.skn"), "QToolBar { background: #00aa00; }");
    writeFile(folder.Path("skins/red.skn"), "QToolBar { background: #aa0000; }");
    QWidget other; // a window already open is re-skinned with the rest
    other.show();
    TForm_config *w = open();
    EXPECT_EQ(w->ListBox1->currentItem()->text(), "skin0076.skn"); // the skin in use
    EXPECT_EQ(ini().ReadString("界面选择", "路径"), ""); // standing there is no choice

    w->ListBox1->setCurrentItem(w->ListBox1->findItems("red.skn", Qt::MatchExactly).first());
    EXPECT_EQ(ini().ReadString("界面选择", "路径"), "red.skn");
    EXPECT_EQ(qApp->styleSheet(), "QToolBar { background: #aa0000; }");
    EXPECT_EQ(other.style(), qApp->style());
    w->close();

    TForm_Client client;
    EXPECT_EQ(client.SkinFile(), folder.Path("skins/red.skn"));
    EXPECT_TRUE(dialogs.Requests().empty());
}

TEST_F(SystemOptions, ASkinThatCannotBeReadIsReportedAndNotRemembered)
{
    ASSERT_TRUE(QDir().mkpath(folder.Path("skins")));
    writeFile(folder.Path("skins/gone.skn"), "QToolBar { background: #aa0000; }");
    TForm_config *w = open();
    ASSERT_TRUE(QFile::remove(folder.Path("skins/gone.skn")));
    w->ListBox1->setCurrentRow(0);
    ASSERT_EQ(dialogs.Count(Dialogs::Kind::Error), 1);
    EXPECT_EQ(ini().ReadString("界面选择", "路径", "none"), "none");
    EXPECT_EQ(qApp->styleSheet(), "");
}

TEST_F(SystemOptions, WithoutSkinsTheExitBackupOptionStillWorksBothWays)
{
    TForm_config *w = open();
    EXPECT_EQ(w->ListBox1->count(), 0);
    EXPECT_FALSE(w->CheckBox1->isChecked());
    EXPECT_EQ(w->CheckBox1->text(), "退出时自动备份数据库");
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    w->CheckBox1->click();
    EXPECT_TRUE(ini().ReadBool("设置", "退出备份数据"));
    auto *exit = new TForm_data_bak();
    EXPECT_TRUE(exit->CheckBox1->isChecked());
    w->CheckBox1->click();
    delete exit;
    exit = new TForm_data_bak();
    EXPECT_FALSE(exit->CheckBox1->isChecked());
    delete exit;
}

// The skins the program ships: at least three, each a style sheet Qt reads without a complaint.
TEST(ShippedSkins, EachParses)
{
    const QStringList skins = QDir(QStringLiteral(SKINS_DIR)).entryList({"*.skn"}, QDir::Files);
    EXPECT_GE(skins.size(), 3);
    EXPECT_TRUE(skins.contains("skin0076.skn")); // the one used while none is chosen
    static QStringList complaints;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &m) {
        complaints << m;
    });
    auto complaintsAbout = [](const QString &sheet) {
        complaints.clear();
        qApp->setStyleSheet(sheet);
        QWidget probe; // style sheets are read when a widget is polished
        probe.ensurePolished();
        return complaints.filter("style", Qt::CaseInsensitive);
    };
    EXPECT_NE(complaintsAbout("QToolBar { background: #123456; "), QStringList()); // a broken one is noticed
    for (const QString &skin : skins) {
        QFile f(QStringLiteral(SKINS_DIR "/") + skin);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(complaintsAbout(QString::fromUtf8(f.readAll())), QStringList()) << skin.toStdString();
    }
    qInstallMessageHandler(previous);
    qApp->setStyleSheet(QString());
}

} // namespace
