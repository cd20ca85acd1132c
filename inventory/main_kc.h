#pragma once
#include "datalayer/listscreen.h"

#include <QString>
#include <memory>

class DBGrid;
class FilterBar;
class IniFile;
class LabeledEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QWidget;
struct BlendFields;

// Inventory ("库存管理"): the stock tab corrects and deletes lots, the blending tab composes
// blends from portions of lots and keeps the list of blends.
class TForm_kc : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_kc(QWidget *parent = nullptr);
    ~TForm_kc() override;

    QTabWidget *PageControl1;
    QWidget *TabSheet1; // "库存管理"
    QWidget *TabSheet2; // "配茶管理"

    // Stock tab.
    QGroupBox *GroupBox1; // the field panel
    QFrame *Bevel2;
    QRadioButton *RadioButton1; // "毛茶"
    QRadioButton *RadioButton2; // "净茶"
    LabeledEdit *LabeledEdit3;  // 编号
    LabeledEdit *LabeledEdit18; // 品种
    LabeledEdit *LabeledEdit19; // 产地
    LabeledEdit *LabeledEdit20; // 供应商
    LabeledEdit *LabeledEdit1;  // 毛茶价
    LabeledEdit *LabeledEdit7;  // 总重量
    LabeledEdit *LabeledEdit8;  // 总金额
    LabeledEdit *LabeledEdit21; // 包装
    LabeledEdit *LabeledEdit22; // 入库日期
    LabeledEdit *LabeledEdit15; // 实付款
    LabeledEdit *LabeledEdit14; // 经办人
    LabeledEdit *LabeledEdit16; // 净茶价
    QComboBox *ComboBox4;       // yield ratio
    LabeledEdit *LabeledEdit13; // 销售单价
    LabeledEdit *LabeledEdit2;  // 剩余重量
    QPushButton *Button4;       // "X"
    QPushButton *Button3;       // "修改(&E)"
    QPushButton *Button1;       // "删除(&D)"
    QPlainTextEdit *Memo1;
    QComboBox *ComboBox7;
    QLineEdit *Edit2;
    QDateEdit *DateTimePicker4;
    QPushButton *Button5;  // "查询"
    QPushButton *Button10; // "导出"
    DBGrid *DBGrid1;
    QMenu *PopupMenu2;
    QAction *D1, *N2, *N3, *N4, *N5, *N6, *N7, *N8;
    FilterBar *StockFilter;

    // Blending tab.
    QGroupBox *GroupBox2; // the blend panel
    LabeledEdit *LabeledEdit5;  // 配茶编号
    QComboBox *ComboBox8;       // 毛/净茶
    LabeledEdit *LabeledEdit6;  // 配茶总重
    LabeledEdit *LabeledEdit9;  // 总金额
    LabeledEdit *LabeledEdit4;  // 成本单价
    LabeledEdit *LabeledEdit17; // 配茶师
    QDateEdit *DateTimePicker2; // 配茶日期
    QComboBox *ComboBox2;       // 品种
    LabeledEdit *LabeledEdit11; // 销售单价
    QCheckBox *CheckBox2;       // "自动编号"
    QPushButton *Button2;       // "添加"
    QPushButton *Button6;       // "修改"
    QPushButton *Button7;       // "删除"
    QTreeWidget *ListView1;     // the portions of the blend being composed
    QPushButton *Button11;      // "清空"
    QToolButton *SpeedButton2;  // "移出"
    QLabel *Label1;             // above the blend grid
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QDateEdit *DateTimePicker1;
    QPushButton *Button8;
    DBGrid *DBGrid2;
    QMenu *PopupMenu3;
    QAction *D2, *N11, *N12, *N13, *N16, *N17;
    QLabel *Label2;             // above the all-stock grid
    QComboBox *ComboBox3;
    QLineEdit *Edit3;
    QDateEdit *DateTimePicker3;
    QPushButton *Button9;
    DBGrid *DBGrid3;
    QMenu *PopupMenu1;
    QAction *N1; // "加入配茶"
    FilterBar *BlendFilter;
    FilterBar *AllStockFilter;

    // The ID of the stock lot last loaded on the stock tab; empty until one is.
    QString SelectedLot() const { return m_lotId; }
    // The ID of the blend last loaded on the blending tab; empty until one is.
    QString SelectedBlend() const { return m_blendId; }

public slots:
    void FormShow() override;
    void FormPaint() override;
    void DBGrid1CellClick();
    void Button4Click();
    void ComboBox4Click();
    void Button3Click();
    void Button1Click();
    void ComboBox7Click();
    void Button5Click();
    void Button10Click();

    void N1Click();
    void SpeedButton2Click();
    void Button11Click();
    void CheckBox2Click();
    void Button2Click();
    void DBGrid2CellClick();
    void Button6Click();
    void Button7Click();
    void ComboBox1Click();
    void Button8Click();
    void ComboBox3Click();
    void Button9Click();

protected:
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildStockTab();
    void buildBlendTab();
    void resetStockFields();
    // Runs a correction or deletion the user confirmed; a refusal is shown, the fields stay.
    void writeStock(const QString &sql);
    void resetBlend();
    // Runs an insert, correction or deletion of a blend the user confirmed: a refusal is
    // shown and the tab stays; otherwise the selected blend is forgotten and the tab starts over.
    void writeBlend(const QString &sql);
    BlendFields blendFields() const;

    QString m_lotId;
    QString m_blendId;
    std::unique_ptr<IniFile> m_ini;
};

extern TForm_kc *Form_kc;
