#pragma once
#include "datalayer/listscreen.h"

class DBGrid;
class LabeledEdit;
class QDateEdit;
class QGroupBox;
class QPushButton;
class QTabWidget;

// Sales summary ("销售总结"): the daily statistics rebuilt from sales, expenses and the debt
// ledger, and the clearance settlement of a sold-out lot with its profit.
class TForm_xszj : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_xszj(QWidget *parent = nullptr);
    ~TForm_xszj() override;

    QTabWidget *PageControl1;
    QWidget *TabSheet1; // "销售统计"
    QWidget *TabSheet2; // "清货结算"

    QGroupBox *GroupBox2;
    QPushButton *Button11; // "导出"
    QPushButton *Button3;  // "导入"
    QDateEdit *DateTimePicker1;
    QPushButton *Button2;  // "查询"
    QPushButton *Button1;  // "全部统计"
    QPushButton *Button10; // "欠款统计"
    QPushButton *Button7;  // "支出统计"
    QPushButton *Button8;  // "销售统计"
    QPushButton *Button9;  // "清空统计"
    QGroupBox *GroupBox1;
    DBGrid *DBGrid1;

    QGroupBox *GroupBox3;
    QPushButton *Button5;      // "导入"
    QPushButton *Button12;     // "导出"
    LabeledEdit *LabeledEdit1; // 编号
    QPushButton *Button6;      // "查询"
    LabeledEdit *LabeledEdit2; // 利润总额
    QPushButton *Button4;      // "售完结算"
    DBGrid *DBGrid2;           // lots
    DBGrid *DBGrid3;           // the sales of the clicked lot

    // The key of the lot loaded for settling; -1 when none.
    qint64 SelectedLot() const { return m_lotId; }

public slots:
    void PageControl1Change();
    void Button1Click();
    void Button7Click();
    void Button8Click();
    void Button10Click();
    void Button9Click();
    void Button3Click();
    void Button2Click();
    void Button11Click();
    void Button5Click();
    void Button6Click();
    void Button12Click();
    void DBGrid2CellClick();
    void Button4Click();

private:
    void runPass(int pass);
    void openStatistics(const QString &sql);
    void openLots(const QString &sql);
    void exportList(DBGrid *grid);

    qint64 m_lotId = -1;
};

extern TForm_xszj *Form_xszj;
