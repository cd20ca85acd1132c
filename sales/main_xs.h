#pragma once
#include "datalayer/listscreen.h"

class DBGrid;
class FilterBar;
class LabeledEdit;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
struct SaleRecordFields;

// Sales records ("销售记录"): lists the sales, corrects or deletes one, and hands a sale's
// customer to the debts window. Stock never moves here: a lot keeps what the sale left it.
class TForm_xs : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_xs(QWidget *parent = nullptr);
    ~TForm_xs() override;

    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;       // the left panel
    LabeledEdit *LabeledEdit1;  // 编号, read-only
    QComboBox *ComboBox9;       // 毛/净茶
    QComboBox *ComboBox1;       // 品种
    QComboBox *ComboBox3;       // 产地
    QComboBox *ComboBox5;       // 客户
    QComboBox *ComboBox6;       // 客户类型
    QDateEdit *DateTimePicker1; // 销售日期
    LabeledEdit *LabeledEdit2;  // 出售单价
    LabeledEdit *LabeledEdit7;  // 销售重量
    QToolButton *SpeedButton1;  // "="
    LabeledEdit *LabeledEdit8;  // 总金额, read-only
    LabeledEdit *LabeledEdit3;  // 实收款
    QPushButton *Button2;       // "修改(&E)"
    QPushButton *Button5;       // "删除(&D)"
    QPlainTextEdit *Memo2;
    QComboBox *ComboBox7;
    QLineEdit *Edit2;
    QDateEdit *DateTimePicker2;
    QPushButton *Button3;       // "查询"
    QPushButton *Button1;       // "导出"
    DBGrid *DBGrid1;
    QMenu *PopupMenu2;
    QAction *D2, *N10, *N2, *N3, *N4, *N5, *N6, *N9, *N1;
    FilterBar *Filter;

    // The key of the sale last loaded into the fields; -1 when none.
    qint64 SaleId() const { return m_saleId; }

public slots:
    void FormShow() override;
    void DBGrid1CellClick();
    void SpeedButton1Click();
    void Button2Click();
    void Button5Click();
    void ComboBox7Click();
    void Button3Click();
    void N10Click();
    void Button1Click();
    void FormPaint() override;

protected:
    void FormClose() override;

private:
    SaleRecordFields fields() const;

    qint64 m_saleId = -1;
};

extern TForm_xs *Form_xs;
