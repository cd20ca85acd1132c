#pragma once
#include <QString>
#include <QTemporaryDir>

#include "tests/support/qtprint.h"

// A program folder of the test's own, with a fresh installation database in data/.
class TestFolder {
public:
    explicit TestFolder(bool withDatabase = true);
    ~TestFolder();
    QString Path(const QString &relative = QString()) const;
    QString DatabasePath() const { return Path(QStringLiteral("data/datas.mdb")); }

private:
    QTemporaryDir m_dir;
};
