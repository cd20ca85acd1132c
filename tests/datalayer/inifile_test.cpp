#include "datalayer/inifile.h"
#include "datalayer/settings.h"
#include "datalayer/gbk.h"
#include "datalayer/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("config.ini")); }

    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void put(const QByteArray &content) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, TheFirstWriteMakesAGbkFileWithCrLf)
{
    IniFile ini(path());
    EXPECT_TRUE(ini.WriteString(QStringLiteral("登陆用户"), QStringLiteral("用户名"), QStringLiteral("admin")));
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[登陆用户]\r\n用户名=admin\r\n")));
    // A second key goes under the same header, a new section after it.
    ini.WriteString(QStringLiteral("登陆用户"), QStringLiteral("权限"), QStringLiteral("高级用户"));
    ini.WriteBool(QStringLiteral("选项"), QStringLiteral("自动编号"), true);
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[登陆用户]\r\n用户名=admin\r\n权限=高级用户\r\n[选项]\r\n自动编号=1\r\n")));
}

TEST_F(IniFileTest, ReadsAreNotCachedBetweenHandles)
{
    IniFile reader(path());
    IniFile writer(path());
    EXPECT_EQ(reader.ReadString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("none")), "none");
    writer.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/srv/备份"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("设置"), QStringLiteral("备份路径")), "/srv/备份");
    writer.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QString());
    // A key that is present but empty reads empty, not as the default.
    EXPECT_EQ(reader.ReadString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("none")), "");
}

TEST_F(IniFileTest, ReadsAFileWrittenElsewhere)
{
    // Hand-edited layout: spaces around names, LF-only lines, a comment, mixed case, a last
    // line without a line end, a later duplicate section that does not count.
    put(ToGbk(QStringLiteral("; shop settings\n[ 界面选择 ]\r\n  路径 = skin0012.skn \r\n[Misc]\nName=\"quoted\"\n"
                             "[misc]\nname=second\n[Tail]\nKey=last")));
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("界面选择"), QStringLiteral("路径")), "skin0012.skn");
    EXPECT_EQ(ini.ReadString(QStringLiteral("MISC"), QStringLiteral("name")), "quoted");
    EXPECT_EQ(ini.ReadString(QStringLiteral("tail"), QStringLiteral("KEY")), "last");
    EXPECT_EQ(ini.ReadString(QStringLiteral("界面选择"), QStringLiteral("Name"), QStringLiteral("d")), "d");
    EXPECT_EQ(ini.ReadString(QStringLiteral("; shop settings"), QStringLiteral("x"), QStringLiteral("d")), "d");
}

struct BoolCase {
    const char *stored; // nullptr: key absent
    bool whenDefaultFalse;
    bool whenDefaultTrue;
};

class IniBool : public IniFileTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(IniBool, ReadsWholeNumbersOnly)
{
    IniFile ini(path());
    ini.WriteString(QStringLiteral("选项"), QStringLiteral("其他"), QStringLiteral("1"));
    if (GetParam().stored)
        put(bytes() + ToGbk(QStringLiteral("配茶自动编号=") + QString::fromUtf8(GetParam().stored) + "\r\n"));
    EXPECT_EQ(ini.ReadBool(QStringLiteral("选项"), QStringLiteral("配茶自动编号"), false), GetParam().whenDefaultFalse);
    EXPECT_EQ(ini.ReadBool(QStringLiteral("选项"), QStringLiteral("配茶自动编号"), true), GetParam().whenDefaultTrue);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniBool,
                         ::testing::Values(BoolCase{"1", true, true}, BoolCase{"0", false, false},
                                           BoolCase{"-1", true, true}, BoolCase{"2", true, true},
                                           BoolCase{" 1", true, true}, BoolCase{"00", false, false},
                                           BoolCase{"+0", false, false}, BoolCase{"99999999999999999999", true, true},
                                           BoolCase{"abc", false, true}, BoolCase{"", false, true},
                                           BoolCase{"1.5", false, true}, BoolCase{"1a", false, true},
                                           BoolCase{"-", false, true}, BoolCase{nullptr, false, true}));

TEST_F(IniFileTest, WriteBoolStoresOneOrZero)
{
    IniFile ini(path());
    ini.WriteBool(QStringLiteral("设置"), QStringLiteral("退出备份数据"), true);
    EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("退出备份数据")), "1");
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("设置"), QStringLiteral("退出备份数据")));
    ini.WriteBool(QStringLiteral("设置"), QStringLiteral("退出备份数据"), false);
    EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("退出备份数据")), "0");
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("设置"), QStringLiteral("退出备份数据"), true));
}

TEST_F(IniFileTest, AMissingFileGivesDefaultsAndReadsDoNotCreateIt)
{
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("登陆用户"), QStringLiteral("用户名"), QStringLiteral("x")), "x");
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("选项"), QStringLiteral("自动编号")));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("选项"), QStringLiteral("自动编号"), true));
    EXPECT_EQ(SkinFileName(ini), "skin0076.skn");
    EXPECT_EQ(LoginUserName(ini), "");
    EXPECT_FALSE(BackupOnExit(ini));
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
}

TEST_F(IniFileTest, WritingKeepsEveryOtherLine)
{
    // Bytes the GBK decoder would not give back (0x80 alone) must survive in other lines.
    const QByteArray before = ToGbk(QStringLiteral("; 备注\r\n[登陆用户]\r\n用户名=old\r\n权限=普通用户\r\n\r\n"))
        + QByteArray("junk\x80line\n[Other]\nkey = keep me\r\n\r\n; end comment");
    put(before);
    IniFile ini(path());

    EXPECT_TRUE(ini.WriteString(QStringLiteral("登陆用户"), QStringLiteral("用户名"), QStringLiteral("admin")));
    QByteArray expected = before;
    expected.replace(ToGbk(QStringLiteral("用户名=old")), ToGbk(QStringLiteral("用户名=admin")));
    EXPECT_EQ(bytes(), expected);

    // A new key joins its section after the last filled line, before the blank line.
    ini.WriteString(QStringLiteral("other"), QStringLiteral("added"), QStringLiteral("v"));
    expected.replace(QByteArray("key = keep me\r\n"), QByteArray("key = keep me\r\nadded=v\r\n"));
    EXPECT_EQ(bytes(), expected);

    // A new section goes at the end, after a line end given to the unterminated last line.
    ini.WriteString(QStringLiteral("界面选择"), QStringLiteral("路径"), QStringLiteral("a.skn"));
    expected += ToGbk(QStringLiteral("\r\n[界面选择]\r\n路径=a.skn\r\n"));
    EXPECT_EQ(bytes(), expected);
}

TEST_F(IniFileTest, TextThatCannotBeStoredChangesNothing)
{
    IniFile ini(path());
    ini.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/a"));
    const QByteArray before = bytes();
    const struct {
        QString section, key, value;
    } cases[] = {
        {QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/b\r\n[登陆用户]\r\n用户名=x")},
        {QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/b\n")},
        {QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("😀")},
        {QStringLiteral("设置"), QStringLiteral("a=b"), QStringLiteral("v")},
        {QStringLiteral("设置"), QStringLiteral(";note"), QStringLiteral("v")},
        {QStringLiteral("设置"), QString(), QStringLiteral("v")},
        {QStringLiteral("a]b"), QStringLiteral("k"), QStringLiteral("v")},
        {QString(), QStringLiteral("k"), QStringLiteral("v")},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.section.toStdString() << "/" << c.key.toStdString();
        EXPECT_EQ(bytes(), before);
    }
}

// Names the reader would find differently, or not at all, are refused before they can
// hide other keys: " [b]" written as a key would start a section of its own.
TEST_F(IniFileTest, NamesThatWouldNotReadBackAreRefused)
{
    put(ToGbk(QStringLiteral("[a]\r\nx=1\r\n[b]\r\nk=keep\r\n")));
    const QByteArray before = bytes();
    IniFile ini(path());
    const struct {
        QString section, key;
    } cases[] = {
        {QStringLiteral("a"), QStringLiteral(" [b]")},
        {QStringLiteral("a"), QStringLiteral("[b]")},
        {QStringLiteral("a"), QStringLiteral(" ;k")},
        {QStringLiteral("a"), QStringLiteral(" x")},
        {QStringLiteral("a"), QStringLiteral("x ")},
        {QStringLiteral("a"), QStringLiteral("\tx")},
        {QStringLiteral("a"), QStringLiteral("　x")},
        {QStringLiteral(" a"), QStringLiteral("x")},
        {QStringLiteral("a "), QStringLiteral("x")},
        {QStringLiteral("a　"), QStringLiteral("x")},
        {QStringLiteral(" "), QStringLiteral("x")},
        {QStringLiteral("a"), QStringLiteral(" ")},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(ini.WriteString(c.section, c.key, QStringLiteral("v")))
            << "[" << c.section.toStdString() << "] " << c.key.toStdString();
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_EQ(ini.ReadString(QStringLiteral("b"), QStringLiteral("k")), "keep");
    EXPECT_EQ(ini.ReadString(QStringLiteral("a"), QStringLiteral("x")), "1");
}

// Blanks at either end and surrounding quotes belong to the value: the reader would drop them,
// so they are written inside quotes. No write touches another entry.
TEST_F(IniFileTest, EveryAcceptedValueReadsBackExactly)
{
    put(ToGbk(QStringLiteral("[设置]\r\n前=\" a \"\r\n备份路径=/a\r\n后='b'\r\n[选项]\r\n备份路径=other\r\n")));
    IniFile ini(path());
    const QString values[] = {
        QStringLiteral(" /srv/备份"), QStringLiteral("/srv/备份 "), QStringLiteral("　/srv　"), QStringLiteral("\t/srv"),
        QStringLiteral("\"/srv\""), QStringLiteral("'/srv'"), QStringLiteral("\"/srv'"), QStringLiteral("\""),
        QStringLiteral("''"), QStringLiteral("\"\""), QStringLiteral(" "), QStringLiteral("a = \"b\""), QString(),
    };
    for (const QString &value : values) {
        ASSERT_TRUE(ini.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), value)) << value.toStdString();
        EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("absent")), value);
        EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("前")), " a ");
        EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("后")), "b");
        EXPECT_EQ(ini.ReadString(QStringLiteral("选项"), QStringLiteral("备份路径")), "other");
    }
    ini.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("　/srv　"));
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[设置]\r\n前=\" a \"\r\n备份路径=\"　/srv　\"\r\n后='b'\r\n"
                                            "[选项]\r\n备份路径=other\r\n")));
    // A plain value is written as it is.
    ini.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/srv/a b"));
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[设置]\r\n前=\" a \"\r\n备份路径=/srv/a b\r\n后='b'\r\n"
                                            "[选项]\r\n备份路径=other\r\n")));
}

TEST_F(IniFileTest, AnUnreadableFileIsNotOverwritten)
{
    put(ToGbk(QStringLiteral("[设置]\r\n备份路径=/keep\r\n")));
    QFile::setPermissions(path(), QFile::WriteOwner);
    QFile probe(path());
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    IniFile ini(path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("d")), "d");
    EXPECT_FALSE(ini.WriteString(QStringLiteral("设置"), QStringLiteral("退出备份数据"), QStringLiteral("1")));
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[设置]\r\n备份路径=/keep\r\n")));
}

TEST_F(IniFileTest, AFolderThatIsMissingFailsTheWrite)
{
    IniFile ini(m_dir.filePath(QStringLiteral("no/config.ini")));
    EXPECT_FALSE(ini.WriteString(QStringLiteral("设置"), QStringLiteral("备份路径"), QStringLiteral("/a")));
}

TEST_F(IniFileTest, TypedAccessorsUseTheirSectionsAndKeys)
{
    IniFile ini(path());
    SetLoginUserName(ini, QStringLiteral("admin"));
    SetLoginPermission(ini, QStringLiteral("高级用户"));
    SetSkinFileName(ini, QStringLiteral("skin0012.skn"));
    SetBackupOnExit(ini, true);
    SetBackupFolder(ini, QStringLiteral("/srv/bak"));
    SetBackupBeforeRestore(ini, true);
    SetAutoNumber(ini, true);
    SetBlendAutoNumber(ini, false);
    EXPECT_EQ(bytes(), ToGbk(QStringLiteral("[登陆用户]\r\n用户名=admin\r\n权限=高级用户\r\n"
                                            "[界面选择]\r\n路径=skin0012.skn\r\n"
                                            "[设置]\r\n退出备份数据=1\r\n备份路径=/srv/bak\r\n还原前先备份=1\r\n"
                                            "[选项]\r\n自动编号=1\r\n配茶自动编号=0\r\n")));
    EXPECT_EQ(LoginUserName(ini), "admin");
    EXPECT_EQ(LoginPermission(ini), "高级用户");
    EXPECT_EQ(SkinFileName(ini), "skin0012.skn");
    EXPECT_TRUE(BackupOnExit(ini));
    EXPECT_EQ(BackupFolder(ini), "/srv/bak");
    EXPECT_TRUE(BackupBeforeRestore(ini));
    EXPECT_TRUE(AutoNumber(ini));
    EXPECT_FALSE(BlendAutoNumber(ini));
}

TEST_F(IniFileTest, AnEmptyBackupFolderMeansBakdata)
{
    SetProgramFolder(m_dir.path());
    IniFile ini(path());
    EXPECT_EQ(BackupFolder(ini), m_dir.path() + "/bakdata/");
    SetBackupFolder(ini, QString());
    EXPECT_EQ(BackupFolder(ini), m_dir.path() + "/bakdata/");
    SetProgramFolder(QString());
}

} // namespace
