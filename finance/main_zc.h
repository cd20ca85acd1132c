#pragma once
#include <QWidget>

class DBGrid;
class LabeledEdit;
class QAction;
class QDateEdit;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class Query;

// Daily expenses ("日常支出"): add, change and delete the shop's spending over 支出管理, listed
// all or by day with the listed total. A tool window above the others; it reads through a
// query of its own.
class TForm_zc : public QWidget {
    Q_OBJECT
public:
    explicit TForm_zc(QWidget *parent = nullptr);
    ~TForm_zc() override;

    QGroupBox *GroupBox1;
    QDateEdit *DateTimePicker1;
    QToolButton *SpeedButton1; // "查"
    LabeledEdit *LabeledEdit1; // 金额
    QPlainTextEdit *Memo1;     // 事项
    QPushButton *Button1;      // "添加"
    QPushButton *Button3;      // "修改"
    QPushButton *Button2;      // "删除"
    QPushButton *Button4;      // "导出"
    DBGrid *DBGrid1;
    QMenu *PopupMenu1;
    QAction *D1, *N1, *N2, *N8;

    Query *List() const { return m_list; }
    // The key of the expense loaded into the fields; -1 when none.
    qint64 SelectedExpense() const { return m_selected; }

public slots:
    void FormShow();
    void DBGrid1CellClick();
    void Button1Click();
    void Button3Click();
    void Button2Click();
    void SpeedButton1Click();
    void N2Click();
    void Button4Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool write(const QString &question, const QString &sql, bool addressesRow);
    void clearFields();

    Query *m_list;
    qint64 m_selected = -1;
};

extern TForm_zc *Form_zc;
