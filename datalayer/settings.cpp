#include "datalayer/settings.h"

#include "datalayer/inifile.h"
#include "datalayer/programfolder.h"

QString SettingsNotSaved(const IniFile &ini)
{
    return QStringLiteral("无法保存设置: ") + ini.FileName();
}

QString LoginUserName(const IniFile &ini)
{
    return ini.ReadString(ConfigKey::LoginSection, ConfigKey::UserName, QString());
}

bool SetLoginUserName(IniFile &ini, const QString &userName)
{
    return ini.WriteString(ConfigKey::LoginSection, ConfigKey::UserName, userName);
}

QString LoginPermission(const IniFile &ini)
{
    return ini.ReadString(ConfigKey::LoginSection, ConfigKey::Permission, QString());
}

bool SetLoginPermission(IniFile &ini, const QString &permission)
{
    return ini.WriteString(ConfigKey::LoginSection, ConfigKey::Permission, permission);
}

QString SkinFileName(const IniFile &ini)
{
    return ini.ReadString(ConfigKey::SkinSection, ConfigKey::SkinFile, DefaultSkinFile);
}

bool SetSkinFileName(IniFile &ini, const QString &fileName)
{
    return ini.WriteString(ConfigKey::SkinSection, ConfigKey::SkinFile, fileName);
}

bool BackupOnExit(const IniFile &ini)
{
    return ini.ReadBool(ConfigKey::BackupSection, ConfigKey::BackupOnExit, false);
}

bool SetBackupOnExit(IniFile &ini, bool on)
{
    return ini.WriteBool(ConfigKey::BackupSection, ConfigKey::BackupOnExit, on);
}

QString DefaultBackupFolder()
{
    return ProgramPath(QStringLiteral("bakdata/"));
}

QString BackupFolder(const IniFile &ini)
{
    const QString folder = ini.ReadString(ConfigKey::BackupSection, ConfigKey::BackupFolder, QString());
    return folder.isEmpty() ? DefaultBackupFolder() : folder;
}

bool SetBackupFolder(IniFile &ini, const QString &folder)
{
    return ini.WriteString(ConfigKey::BackupSection, ConfigKey::BackupFolder, folder);
}

bool BackupBeforeRestore(const IniFile &ini)
{
    return ini.ReadBool(ConfigKey::BackupSection, ConfigKey::BackupBeforeRestore, false);
}

bool SetBackupBeforeRestore(IniFile &ini, bool on)
{
    return ini.WriteBool(ConfigKey::BackupSection, ConfigKey::BackupBeforeRestore, on);
}

bool AutoNumber(const IniFile &ini)
{
    return ini.ReadBool(ConfigKey::OptionsSection, ConfigKey::AutoNumber, false);
}

bool SetAutoNumber(IniFile &ini, bool on)
{
    return ini.WriteBool(ConfigKey::OptionsSection, ConfigKey::AutoNumber, on);
}

bool BlendAutoNumber(const IniFile &ini)
{
    return ini.ReadBool(ConfigKey::OptionsSection, ConfigKey::BlendAutoNumber, false);
}

bool SetBlendAutoNumber(IniFile &ini, bool on)
{
    return ini.WriteBool(ConfigKey::OptionsSection, ConfigKey::BlendAutoNumber, on);
}

QString DealerSource(const IniFile &ini)
{
    return ini.ReadString(ConfigKey::DealerSection, ConfigKey::DealerSource, QString()).trimmed();
}
