#pragma once
#include <QString>

// Makes the installation database: the schema, the account admin/admin (高级用户) and a few
// starter values in the three reference lists. Throws DbError; never overwrites a file.
void CreateInstallationDatabase(const QString &path);
