#include "datalayer/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs a dialog as a person meets it (no script), notes whether it was kept on top, and
// closes it.
bool shownOnTop(const std::function<void()> &show)
{
    bool onTop = false, seen = false;
    QTimer::singleShot(0, [&] {
        QWidget *shown = QApplication::activeModalWidget();
        seen = shown != nullptr;
        if (!shown)
            return;
        onTop = shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (auto *dialog = qobject_cast<QDialog *>(shown))
            dialog->reject();
    });
    show();
    EXPECT_TRUE(seen);
    return onTop;
}

TEST(Dialogs, QuestionsNoticesAndFileDialogsStayAboveTheToolWindows)
{
    // The tool windows stay on top; a question under one of them blocked the program unseen.
    EXPECT_TRUE(shownOnTop([] { Dialogs::Confirm(nullptr, QStringLiteral("是否确定出售此商品!")); }));
    EXPECT_TRUE(shownOnTop([] { Dialogs::Notice(nullptr, QStringLiteral("导出成功!")); }));
    EXPECT_TRUE(shownOnTop([] { Dialogs::ShowError(nullptr, QStringLiteral("'x' is not a valid floating point value")); }));
    Dialogs::Request save{};
    save.kind = Dialogs::Kind::SaveFile;
    save.fileName = QDir::temp().filePath(QStringLiteral("data.txt"));
    save.filters = QStringList{QStringLiteral("txt(文本文件) (*.txt)")};
    EXPECT_TRUE(shownOnTop([&] { Dialogs::SaveFile(nullptr, save); }));
    EXPECT_TRUE(shownOnTop([] { Dialogs::PickFolder(nullptr, QStringLiteral("选择文件夹"), QDir::tempPath()); }));
    EXPECT_TRUE(shownOnTop([] { Dialogs::OpenFile(nullptr, QString(), QDir::tempPath()); }));
}

TEST(Dialogs, ACancelledPickerOrOpenDialogAnswersNo)
{
    const auto cancel = [] {
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
    };
    cancel();
    EXPECT_FALSE(Dialogs::PickFolder(nullptr, QStringLiteral("选择文件夹"), QDir::tempPath()).ok);
    cancel();
    EXPECT_FALSE(Dialogs::OpenFile(nullptr, QString(), QDir::tempPath()).ok);
}

} // namespace
