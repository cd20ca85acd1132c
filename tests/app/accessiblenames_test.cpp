#include "app/main_login.h"
#include "datalayer/labelfor.h"
#include "tests/app/everywindow.h"
#include "tests/support/testfolder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

bool isInputControl(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QCheckBox *>(w) ||
           qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}

// A caption standing just left of the control, or just above it, in the same panel: it reads
// as the control's label whatever its buddy says.
QLabel *labelBeside(const QWidget *control, const QList<QLabel *> &labels)
{
    const QRect c = control->geometry();
    for (QLabel *l : labels) {
        if (l->parentWidget() != control->parentWidget() || l->text().trimmed().isEmpty())
            continue;
        const QRect g = l->geometry();
        const bool left = g.right() < c.left() && c.left() - g.right() <= 16 && g.top() < c.bottom() &&
                          c.top() < g.bottom() && qAbs(g.center().y() - c.center().y()) <= c.height() / 2;
        const bool above = g.bottom() < c.top() && c.top() - g.bottom() <= 8 && g.left() < c.right() &&
                           c.left() < g.right() && qAbs(g.left() - c.left()) <= 8;
        if (left || above)
            return l;
    }
    return nullptr;
}

QString describe(const QWidget *w)
{
    QString path = QString::fromLatin1(w->metaObject()->className());
    for (const QWidget *p = w; p; p = p->parentWidget())
        if (!p->objectName().isEmpty()) {
            path += QStringLiteral(" ") + p->objectName();
            if (p != w)
                break;
        }
    return path;
}

// Every input control of the window: named by the label that points to it, or by its role.
QStringList violationsIn(const QWidget *window)
{
    QStringList found;
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!isInputControl(control))
            continue;
        QLabel *label = nullptr;
        for (QLabel *l : labels)
            if (l->buddy() == control)
                label = l;
        const QString name = control->accessibleName();
        if (label) {
            if (name != LabelName(label->text()))
                found << describe(control) + QStringLiteral(": named \"") + name + QStringLiteral("\", its label says \"") +
                             LabelName(label->text()) + u'"';
            continue;
        }
        // A check box's caption is its own text; a label above or beside it belongs to another control.
        const auto *check = qobject_cast<QCheckBox *>(control);
        if (check && !LabelName(check->text()).isEmpty()) {
            if (!name.isEmpty() && name != LabelName(check->text()))
                found << describe(control) + QStringLiteral(": named \"") + name +
                             QStringLiteral("\", its caption says \"") + LabelName(check->text()) + u'"';
            continue;
        }
        if (QLabel *beside = labelBeside(control, labels)) {
            found << describe(control) + QStringLiteral(": the label \"") + beside->text() +
                         QStringLiteral("\" beside it does not name it (buddy ") +
                         (beside->buddy() ? describe(beside->buddy()) : QStringLiteral("none")) + u')';
            continue;
        }
        if (name.trimmed().isEmpty())
            found << describe(control) + QStringLiteral(": no label and no name");
    }
    return found;
}

TEST(AccessibleNames, EveryInputControlOfEveryWindowTheMainWindowOpensIsNamedByItsLabel)
{
    QStringList violations;
    const int tried = ForEveryWindow([&](const OpenedWindow &opened) {
        for (const QString &v : violationsIn(opened.window))
            violations << opened.trigger + u' ' + opened.window->objectName() + QStringLiteral(": ") + v;
    });
    EXPECT_GE(tried, 8);
    EXPECT_TRUE(violations.isEmpty()) << violations.join(u'\n').toStdString();
}

TEST(AccessibleNames, TheLoginWindowsBoxesAreNamedByTheirLabels)
{
    TestFolder folder;
    TForm_login login;
    login.show();
    EXPECT_TRUE(violationsIn(&login).isEmpty()) << violationsIn(&login).join(u'\n').toStdString();
}

} // namespace
