#include "datalayer/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace Dialogs {
namespace {
Script *&current()
{
    static Script *script = nullptr;
    return script;
}

QWidget *ownerOr(QWidget *owner)
{
    return owner ? owner : QApplication::activeWindow();
}

// The program's tool windows stay on top of the others; a question or a file dialog under one
// of them would block the program without being seen.
void keepOnTop(QWidget *dialog)
{
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
}

// The number of the chosen type; a dialog that hides the patterns names the type without them.
int filterNumber(const QStringList &filters, const QString &chosen)
{
    for (int i = 0; i < filters.size(); ++i) {
        const QString &f = filters[i];
        const qsizetype patterns = f.lastIndexOf(QLatin1String(" ("));
        const bool named = patterns > 0 && f.endsWith(QLatin1Char(')')) && f.left(patterns).trimmed() == chosen.trimmed();
        if (f == chosen || named)
            return i + 1;
    }
    return 0;
}
} // namespace

Script::Script() : m_previous(current())
{
    current() = this;
}

Script::~Script()
{
    current() = m_previous;
}

Answer Script::take(const Request &request)
{
    m_requests.push_back(request);
    if (onRequest)
        onRequest(request);
    if (m_answers.empty())
        return {};
    Dialogs::Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

QStringList Script::Texts() const
{
    QStringList out;
    for (const Request &r : m_requests)
        out << r.text;
    return out;
}

int Script::Count(Kind kind) const
{
    return int(std::count_if(m_requests.begin(), m_requests.end(), [&](const Request &r) { return r.kind == kind; }));
}

bool Confirm(QWidget *owner, const QString &text, const QString &caption)
{
    if (Script *s = current())
        return s->take({Kind::Confirm, caption, text}).ok;
    // The program's questions and notices carry no icon.
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel, ownerOr(owner));
    keepOnTop(&box);
    return box.exec() == QMessageBox::Ok;
}

void Notice(QWidget *owner, const QString &text, const QString &caption)
{
    if (Script *s = current()) {
        s->take({Kind::Notice, caption, text});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, ownerOr(owner));
    keepOnTop(&box);
    box.exec();
}

bool RowLoaded(QWidget *owner, bool loaded)
{
    if (!loaded)
        Notice(owner, kChooseRow);
    return loaded;
}

void ShowError(QWidget *owner, const QString &text)
{
    const QString caption = QApplication::applicationName();
    if (Script *s = current()) {
        s->take({Kind::Error, caption, text});
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, ownerOr(owner));
    keepOnTop(&box);
    box.exec();
}

std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget *owner, const Request &r)
{
    auto dialog = std::make_unique<QFileDialog>(ownerOr(owner), r.text);
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                       QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    keepOnTop(dialog.get());
    dialog->setNameFilters(r.filters);
    if (r.filterIndex >= 1 && r.filterIndex <= r.filters.size())
        dialog->selectNameFilter(r.filters[r.filterIndex - 1]);
    const QFileInfo proposed(r.fileName);
    dialog->setDirectory(proposed.absolutePath());
    dialog->selectFile(proposed.fileName());
    return dialog;
}

Answer SaveFile(QWidget *owner, const Request &request)
{
    Request r = request;
    r.kind = Kind::SaveFile;
    if (Script *s = current())
        return s->take(r);
    const std::unique_ptr<QFileDialog> dialog = MakeSaveDialog(owner, r);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {false, {}, r.filterIndex};
    return {true, dialog->selectedFiles().first(), filterNumber(r.filters, dialog->selectedNameFilter())};
}

Answer PickFolder(QWidget *owner, const QString &title, const QString &startFolder)
{
    if (Script *s = current())
        return s->take({Kind::Folder, QString(), title, startFolder});
    QFileDialog dialog(ownerOr(owner), title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    keepOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {false, {}, 1};
    return {true, dialog.selectedFiles().first(), 1};
}

Answer OpenFile(QWidget *owner, const QString &title, const QString &startFolder)
{
    if (Script *s = current())
        return s->take({Kind::OpenFile, QString(), title, startFolder});
    QFileDialog dialog(ownerOr(owner), title, startFolder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    keepOnTop(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {false, {}, 1};
    return {true, dialog.selectedFiles().first(), 1};
}

} // namespace Dialogs
