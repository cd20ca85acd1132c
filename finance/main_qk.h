#pragma once
#include <QWidget>

class DBGrid;
class FilterBar;
class LabeledEdit;
class Query;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QToolButton;
struct DebtFields;

// Debts and repayments ("欠款管理"): the customers' ledger, with the totals of the rows listed
// and the contact card of the customer. A tool window; the main window waits while it is open.
class TForm_qk : public QWidget {
    Q_OBJECT
public:
    explicit TForm_qk(QWidget *parent = nullptr);
    ~TForm_qk() override;

    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;       // the input panel
    QLabel *Label1;
    QComboBox *ComboBox1;       // 客户名称
    QToolButton *SpeedButton1;  // "查" by name
    QLabel *Label5;
    QComboBox *ComboBox3;       // 联系人
    QToolButton *SpeedButton2;  // "查" by contact person
    QLabel *Label3;
    QComboBox *ComboBox2;       // 项目
    LabeledEdit *LabeledEdit4;  // 金额
    QLabel *Label2;
    QDateEdit *DateTimePicker1; // 日期
    QPlainTextEdit *memo1;
    QPushButton *Button1;       // "确定(&A)"
    QPushButton *Button2;       // "修改(&E)"
    QPushButton *Button3;       // "删除(&D)"
    QLabel *Label4;
    QTableWidget *StringGrid1;  // the contact card
    QComboBox *ComboBox7;
    QLineEdit *Edit2;
    QPushButton *Button4;       // "查询"
    QPushButton *Button5;       // "导出"
    DBGrid *DBGrid1;
    LabeledEdit *LabeledEdit1;  // sum of debts
    LabeledEdit *LabeledEdit2;  // sum of repayments
    LabeledEdit *LabeledEdit3;  // balance
    QMenu *PopupMenu1;
    QAction *D2, *N1, *N2, *N6, *N7;
    FilterBar *Filter;

    // The window's own queries: it stays open beside a list screen, so it borrows none.
    Query *ListQuery;   // the ledger list
    Query *LookupQuery; // contact book look-ups

    // The key of the row last loaded into the fields; -1 when none.
    qint64 RowId() const { return m_rowId; }
    // The value of a row of the contact card.
    QString CardValue(int row) const;

    // A debt of a sale, ready to be confirmed: the customer (with its contact from the book),
    // the date and the amount. Call after the window has been shown.
    void PresetDebt(const QString &customer, const QDate &date, const QString &amount);

public slots:
    void FormShow();
    void DBGrid1CellClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    DebtFields fields() const;
    bool checked(const DebtFields &f);
    void showContact(bool found);
    void showTotals();
    void requery();

    qint64 m_rowId = -1;
    bool m_shown = false;
};

// The newest debts window; null once it has closed.
extern TForm_qk *Form_qk;
