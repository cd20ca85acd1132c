#pragma once
#include <QString>

// Where a message goes and how the connection is made.
struct MailSettings {
    QString host;              // empty: nothing can be sent
    QString port;              // empty or not a number: 25
    QString account;           // empty: no authentication
    QString password;
    QString sender;
    QString recipient;
    QString caFile;            // certificates trusted besides the system's
    bool requireStartTls = false;
    bool allowClearAuth = false; // AUTH without TLS to a host that is not this machine
    quint32 timeOut = 60000;   // milliseconds for the connect, each reply, each write
};

// The program's own mail settings, as chosen when it was built.
MailSettings BuiltInMailSettings();
