#pragma once
#include "datalayer/listscreen.h"

#include <memory>

class DBGrid;
class FilterBar;
class IniFile;
class LabeledEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
struct IntakeFields;

// Stock intake ("进货管理"): every purchase becomes a lot of 库存管理; the list shows every
// lot, purchased and blended, and lets the user correct and delete them.
class TForm_jh : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_jh(QWidget *parent = nullptr);
    ~TForm_jh() override;

    QGroupBox *GroupBox1;        // the whole client area
    QGroupBox *GroupBox2;        // the input panel
    QRadioButton *RadioButton1;  // "毛茶"
    QRadioButton *RadioButton2;  // "净茶"
    LabeledEdit *LabeledEdit3;   // 编号
    QComboBox *ComboBox1;        // 品种
    QComboBox *ComboBox3;        // 产地
    QComboBox *ComboBox5;        // 供应商
    QToolButton *SpeedButton2;   // "+"
    LabeledEdit *LabeledEdit1;   // 毛茶价
    LabeledEdit *LabeledEdit7;   // 总重量
    QToolButton *SpeedButton3;   // "="
    LabeledEdit *LabeledEdit14;  // 剩余重量
    LabeledEdit *LabeledEdit9;   // 总金额
    QComboBox *ComboBox6;        // 包装
    QDateEdit *DateTimePicker1;  // 入库日期
    LabeledEdit *LabeledEdit13;  // 经办人
    LabeledEdit *LabeledEdit5;   // 实付款
    QCheckBox *CheckBox2;        // "自动编号"
    QPushButton *Button2;        // "进货(&A)"
    QPushButton *Button3;        // "修改(&E)"
    QPushButton *Button4;        // "删除(&D)"
    QPlainTextEdit *Memo1;       // 备注
    QComboBox *ComboBox2;
    QLineEdit *Edit1;
    QDateEdit *DateTimePicker3;
    QPushButton *Button1;        // "查询"
    QPushButton *Button6;        // "导出"
    DBGrid *DBGrid1;
    QMenu *PopupMenu1;
    QAction *D1, *N1, *N7, *N5, *N6, *N2, *N4, *N3;
    FilterBar *Filter;

    // The key of the lot last loaded from the list; -1 when none.
    qint64 LotId() const { return m_lotId; }

public slots:
    void FormShow() override;
    void FormPaint() override;
    void DBGrid1CellClick();
    void SpeedButton3Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void CheckBox2Click();
    void SpeedButton2Click();
    void ComboBox2Click();
    void Button1Click();
    void Button6Click();

protected:
    void FormClose() override;

private:
    IntakeFields fields() const;
    // Runs a write the user confirmed; a refusal is shown and every field stays.
    bool write(const QString &sql);
    void clearAfterWrite();
    void fillSuppliers(const QStringList &names);

    std::unique_ptr<IniFile> m_settings;
    qint64 m_lotId = -1;
};

extern TForm_jh *Form_jh;
