#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QFileDialog;
class QWidget;

// Every message box, file dialog and folder picker of the program goes through here,
// so that a test can answer them without a person.
namespace Dialogs {

inline const QString kCaption = QStringLiteral("提示!");
// The notice of a change or deletion that names no row of the list.
inline const QString kChooseRow = QStringLiteral("请先在列表中选择一条记录!");
// The notice of a change or deletion whose row is no longer in the table.
inline const QString kRowGone = QStringLiteral("所选记录已不存在，请在列表中重新选择!");

enum class Kind { Confirm, Notice, Error, SaveFile, Folder, OpenFile };

struct Request {
    Kind kind;
    QString caption;
    QString text;         // message, or the dialog's title
    QString fileName = {};     // save dialog: proposed name; folder picker, open dialog: start folder
    QStringList filters = {};  // save dialog: "Text file (*.txt)" ...
    int filterIndex = 1;  // save dialog: 1-based, as the old dialog counted
};

struct Answer {
    bool ok = true;
    QString path;         // the chosen file or folder
    int filterIndex = 1;  // the filter chosen in a save dialog
};

// Confirmation with OK and Cancel; true only for OK.
bool Confirm(QWidget *owner, const QString &text, const QString &caption = kCaption);
// Notice with an OK button only.
void Notice(QWidget *owner, const QString &text, const QString &caption = kCaption);
// True when a row is loaded; otherwise shows the choose-a-row notice.
bool RowLoaded(QWidget *owner, bool loaded);
// The standard error box: an error's text, as the application shows any error.
void ShowError(QWidget *owner, const QString &text);
// File save dialog; ok false when cancelled.
Answer SaveFile(QWidget *owner, const Request &request);
// The save dialog SaveFile shows: the program's own (so the types read as written, without
// their patterns), opened on the proposed file's folder with its name filled in, and
// replacing an existing file without a question.
std::unique_ptr<QFileDialog> MakeSaveDialog(QWidget *owner, const Request &request);
// Folder picker; ok false when cancelled.
Answer PickFolder(QWidget *owner, const QString &title, const QString &startFolder);
// File open dialog without a filter; ok false when cancelled.
Answer OpenFile(QWidget *owner, const QString &title, const QString &startFolder);

// Tests script the answers: while a Script lives, no window is shown; each request is
// recorded and answered from the queue (OK when the queue is empty).
class Script {
public:
    Script();
    ~Script();
    Script(const Script &) = delete;
    Script &operator=(const Script &) = delete;

    void Answer(const Dialogs::Answer &answer) { m_answers.push_back(answer); }
    void Ok() { Answer({true, {}, 1}); }
    void Cancel() { Answer({false, {}, 1}); }
    void SaveAs(const QString &path, int filterIndex) { Answer({true, path, filterIndex}); }

    const std::vector<Request> &Requests() const { return m_requests; }
    QStringList Texts() const; // the texts of every request, in order
    int Count(Kind kind) const;
    void Clear() { m_requests.clear(); }
    // Runs at each request, before it is answered (a test can look at the screen then).
    std::function<void(const Request &)> onRequest;

    Dialogs::Answer take(const Request &request);

private:
    std::deque<Dialogs::Answer> m_answers;
    std::vector<Request> m_requests;
    Script *m_previous;
};

} // namespace Dialogs
