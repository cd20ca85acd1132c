#pragma once
#include "datalayer/dialogs.h"
#include "tests/support/testfolder.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

class Connection;
class DBGrid;

// What every screen test stands on: its own program folder with a fresh installation
// database, the data module opened on it, a user logged in, and scripted dialogs.
class ScreenTest : public ::testing::Test {
protected:
    explicit ScreenTest(const QString &user = QStringLiteral("admin"));
    ~ScreenTest() override;

    static Connection &conn();
    // Runs a statement of the program's dialect; a refusal fails the test with the reason.
    static void Run(const QString &sql);
    // The first column of the first row, as text; empty when there is no row.
    static QString Scalar(const QString &sql);
    // The key of the newest lot.
    static qint64 NewestLot();

    // What a grid column shows, top to bottom.
    static QStringList Listed(const DBGrid *grid, const QString &column = QStringLiteral("编号"));
    // A click on a row, as a person does it.
    static void ClickRow(DBGrid *grid, int row);

    TestFolder folder;
    Dialogs::Script dialogs;
};
