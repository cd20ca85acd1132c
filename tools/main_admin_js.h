#pragma once
#include <QWidget>

class DBGrid;
class LabeledEdit;
class Query;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
struct NotepadNote;

// The notepad ("记事本"): one user's notes with title, text and an optional reminder. The
// window belongs to the user who opened it: it lists, changes and deletes that user's notes
// even after a user switch, through a query of its own.
class TForm_js : public QWidget {
    Q_OBJECT
public:
    // The text box's first line on a new window.
    inline static const QString kTextStart = QStringLiteral("内容：");

    explicit TForm_js(QWidget *parent = nullptr);
    ~TForm_js() override;

    QLabel *Label1;
    QDateEdit *DateTimePicker1;
    QTimeEdit *DateTimePicker2;
    QCheckBox *CheckBox1;
    LabeledEdit *LabeledEdit2;
    QPlainTextEdit *Memo1;
    QPushButton *Button1, *Button2, *Button3;
    DBGrid *DBGrid1;
    Query *ADOQuery1;

    // The user whose notes the window keeps.
    QString Owner() const { return m_owner; }
    // The key of the note loaded into the controls, or -1.
    qint64 SelectedRecord() const { return m_id; }

public slots:
    void FormShow();
    void DBGrid1CellClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    NotepadNote shownNote() const;
    // Change and delete: the statement runs on the loaded note after its question.
    void writeLoaded(const QString &question, const QString &sql);
    void clearTexts();
    void requery();

    QString m_owner;
    qint64 m_id = -1;
};

extern TForm_js *Form_js;
