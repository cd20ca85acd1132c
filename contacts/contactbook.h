#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class DBGrid;
class LabeledEdit;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class Query;

// The common body of the two contact books over 通讯管理: eight fields and a remark, add,
// change and delete, a filter bar and the list on a query of the book's own. The supplier and
// the customer book differ only in what their configuration says.
class ContactBook : public QWidget {
    Q_OBJECT
public:
    // The columns the fields hold, in the table's order (备注 lives in memo1, 类型 is fixed).
    static inline const std::array<QString, 8> kColumns = {
        QStringLiteral("名称"),   QStringLiteral("联系人"),   QStringLiteral("电话"),     QStringLiteral("手机"),
        QStringLiteral("传真"),   QStringLiteral("开户银行"), QStringLiteral("银行账号"), QStringLiteral("地址")};

    // The field of one column: the number of its LabeledEdit and its caption.
    struct Field {
        int edit;
        QString label;
    };

    struct Config {
        QString formName;      // objectName of the window
        QString caption;
        QString type;          // the 类型 value the book keeps
        QString subject;       // what the questions call a row: "渠道商信息", "客户资料"
        std::array<Field, 8> fields; // one per entry of kColumns, in that order
        QString nameItem;      // the filter's item for 名称
        bool rowColours = true;
        bool remarkColumn = false;        // the list shows 备注 too
        bool narrowNumbersOnShow = false; // 序号 at 30 pixels as soon as the list shows
        QStringList clearedOnChange;      // columns emptied after a change
        bool remarkResetOnChange = false; // the remark back to its initial line after a change
        QStringList keptOnDelete;         // columns that keep their text after a delete
        QString deleteItem;               // objectName of the popup's delete item
    };

    // The remark box's initial text.
    static inline const QString kRemarkStart = QStringLiteral("备注：");

    explicit ContactBook(const Config &config, QWidget *parent = nullptr);
    ~ContactBook() override;

    LabeledEdit *LabeledEdit1, *LabeledEdit2, *LabeledEdit3, *LabeledEdit4;
    LabeledEdit *LabeledEdit5, *LabeledEdit6, *LabeledEdit7, *LabeledEdit8;
    QPlainTextEdit *memo1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    DBGrid *DBGrid1;
    QComboBox *ComboBox7;
    QLineEdit *Edit1;
    QPushButton *Button4;
    QMenu *PopupMenu1;

    const Config &config() const { return m_config; }
    // The field that holds a column of 通讯管理 (nullptr for an unknown column).
    LabeledEdit *FieldOf(const QString &column) const;
    // The ID of the row last loaded into the fields; empty until a row is loaded.
    QString SelectedRecord() const { return m_selected; }

public slots:
    void FormShow();
    void DBGrid1CellClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    // The book's closing work; the common part unbinds the list and gives the main window back.
    virtual void FormClose();
    QAction *DeleteItem() const { return m_deleteItem; }

private:
    void clearFields(const QStringList &columns);
    // Runs a change or delete of the loaded row; false when it was refused or the row is gone.
    bool writeOnSelected(const QString &sql);
    // False, with the shared choose-a-row notice, while no row is loaded.
    bool haveSelection();
    void requery();

    Config m_config;
    std::array<LabeledEdit *, 8> m_edits; // by edit number - 1
    QAction *m_deleteItem;
    // Its own, not a shared one: the supplier book stays open beside stock intake, and the
    // customer book may open meanwhile.
    Query *m_list;
    QString m_selected;
};
