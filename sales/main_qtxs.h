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

// Front-desk sales ("前台销售"): sells from one stock lot at a time; each sale is one row of
// 销售记录 and the fall of that lot's 剩余重量, written together.
class TForm_qtxs : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_qtxs(QWidget *parent = nullptr);
    ~TForm_qtxs() override;

    QGroupBox *GroupBox1; // the whole client area
    QGroupBox *GroupBox2; // the sale panel
    LabeledEdit *LabeledEdit1; // 编号
    QToolButton *SpeedButton2; // "查"
    LabeledEdit *LabeledEdit3; // 品种
    LabeledEdit *LabeledEdit5; // 产地
    QComboBox *ComboBox1;      // 毛/净茶
    QComboBox *ComboBox5;      // 客户
    QComboBox *ComboBox6;      // 类型
    QDateEdit *DateTimePicker1; // sale date
    LabeledEdit *LabeledEdit2; // 单价
    LabeledEdit *LabeledEdit4; // 剩余重量
    LabeledEdit *LabeledEdit7; // 重量
    QToolButton *SpeedButton1; // "="
    LabeledEdit *LabeledEdit8; // 总金额
    LabeledEdit *LabeledEdit10; // 实收款
    QPushButton *Button2;      // "出售(&C)"
    QPlainTextEdit *Memo1;
    QComboBox *ComboBox7;
    QLineEdit *Edit2;
    QDateEdit *DateTimePicker3;
    QPushButton *Button3;      // "查询"
    DBGrid *DBGrid1;
    QMenu *PopupMenu1;
    QAction *N7; // "重新导入"
    QAction *N1; // "筛选此编号"
    QAction *N2; // "筛选此品种"
    QAction *N3; // "筛选此产地"
    QAction *N4; // "筛选此入库日期"
    FilterBar *Filter;

    // The key of the lot the panel was filled from (a row click or "查"); -1 when none.
    qint64 LotId() const { return m_lotId; }

public slots:
    void FormShow() override;
    void SpeedButton2Click();
    void DBGrid1CellClick();
    void SpeedButton1Click();
    void ComboBox5Click();
    void Button2Click();
    void ComboBox7Click();
    void Button3Click();
    void FormPaint() override;

protected:

private:
    void clearSale();

    qint64 m_lotId = -1;
};

extern TForm_qtxs *Form_qtxs;
