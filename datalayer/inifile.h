#pragma once
#include <QString>

// A settings handle on one INI file in GBK bytes with CR LF line ends. Nothing is cached:
// every read goes to the file and every write replaces the file at once, so several
// handles on the same file always see each other's writes.
class IniFile {
public:
    explicit IniFile(const QString &fileName);

    // The path the handle reads and writes.
    QString FileName() const { return m_fileName; }

    // The value of key in section, or defaultValue when the file, section or key is absent.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    // True for a whole number other than 0, false for 0, defaultValue for anything else or absent.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue = false) const;

    // Sets key in section, creating the file, section and key as needed and keeping every
    // other line as it was, so that ReadString gives value back exactly. A value with blanks
    // at either end or in quotes is stored in quotes. False, with the file untouched, when
    // text is not GBK or spans lines, a name has blanks at either end, the section name holds
    // "]", the key holds "=" or starts with ";" or "[", or the file cannot be read or written.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    // Stores "1" or "0".
    bool WriteBool(const QString &section, const QString &key, bool value);

private:
    QString m_fileName;
};
