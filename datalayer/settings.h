#pragma once
#include <QString>

class IniFile;

// Every section and key of config.ini. Some keys are also the captions of the check boxes
// that show them, so a caption and its key always read the same.
namespace ConfigKey {
inline const QString LoginSection = QStringLiteral("登陆用户");
inline const QString UserName = QStringLiteral("用户名");
inline const QString Permission = QStringLiteral("权限");

inline const QString SkinSection = QStringLiteral("界面选择");
inline const QString SkinFile = QStringLiteral("路径");

inline const QString BackupSection = QStringLiteral("设置");
inline const QString BackupOnExit = QStringLiteral("退出备份数据");
inline const QString BackupFolder = QStringLiteral("备份路径");
inline const QString BackupBeforeRestore = QStringLiteral("还原前先备份");

inline const QString OptionsSection = QStringLiteral("选项");
inline const QString AutoNumber = QStringLiteral("自动编号");
inline const QString BlendAutoNumber = QStringLiteral("配茶自动编号");

inline const QString DealerSection = QStringLiteral("经销商查询");
inline const QString DealerSource = QStringLiteral("远程数据源");
} // namespace ConfigKey

// The skin used while config.ini names none.
inline const QString DefaultSkinFile = QStringLiteral("skin0076.skn");

// What the user is told when a setting cannot be written ("无法保存设置: " and the file).
QString SettingsNotSaved(const IniFile &ini);

// Typed accessors with their defaults; each setter returns false when nothing was written.

// The user who last logged in; empty when nobody has.
QString LoginUserName(const IniFile &ini);
bool SetLoginUserName(IniFile &ini, const QString &userName);

// That user's permission text; empty when nobody has logged in.
QString LoginPermission(const IniFile &ini);
bool SetLoginPermission(IniFile &ini, const QString &permission);

// The skin file name inside skins/.
QString SkinFileName(const IniFile &ini);
bool SetSkinFileName(IniFile &ini, const QString &fileName);

// Whether closing the program offers the exit backup ticked.
bool BackupOnExit(const IniFile &ini);
bool SetBackupOnExit(IniFile &ini, bool on);

// bakdata/ in the program folder, the backup folder while none is chosen.
QString DefaultBackupFolder();
// The folder exit backups go to: the stored folder, or DefaultBackupFolder() when none is stored.
QString BackupFolder(const IniFile &ini);
bool SetBackupFolder(IniFile &ini, const QString &folder);

// Whether a restore first backs up the database it replaces.
bool BackupBeforeRestore(const IniFile &ini);
bool SetBackupBeforeRestore(IniFile &ini, bool on);

// Whether stock intake numbers new lots itself.
bool AutoNumber(const IniFile &ini);
bool SetAutoNumber(IniFile &ini, bool on);

// Whether the blending tab numbers new blends itself.
bool BlendAutoNumber(const IniFile &ini);
bool SetBlendAutoNumber(IniFile &ini, bool on);

// The ODBC connection string of the dealer directory's server; empty (the default): no refresh.
QString DealerSource(const IniFile &ini);
