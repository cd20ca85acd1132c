#pragma once
#include "datalayer/listscreen.h"

class DBGrid;
class FilterBar;
class LabeledEdit;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// Returns to supplier ("退货管理"): tea sent back out of a lot, and withdrawal of such returns;
// each return or withdrawal and its lot's change of 剩余重量 are written together.
class TForm_th : public ListScreen {
    Q_OBJECT
public:
    explicit TForm_th(QWidget *parent = nullptr);
    ~TForm_th() override;

    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    LabeledEdit *LabeledEdit3;  // 编号
    QToolButton *SpeedButton2;  // "查"
    LabeledEdit *LabeledEdit5;  // 品种
    LabeledEdit *LabeledEdit9;  // 供应商
    LabeledEdit *LabeledEdit7;  // 总重量
    LabeledEdit *LabeledEdit4;  // 剩余重量
    LabeledEdit *LabeledEdit13; // 入库日期
    LabeledEdit *LabeledEdit1;  // 毛茶价
    QComboBox *ComboBox6;       // 毛净茶
    LabeledEdit *LabeledEdit6;  // 经办人
    LabeledEdit *LabeledEdit2;  // 退回重量
    QToolButton *SpeedButton1;  // "="
    LabeledEdit *LabeledEdit10; // 退回金额
    QDateEdit *DateTimePicker2; // 退回日期
    QPushButton *Button2;       // "退货(&A)"
    QPushButton *Button3;       // "撤回(&D)"
    QPlainTextEdit *Memo1;
    QLabel *Label3;
    DBGrid *DBGrid1;
    QComboBox *ComboBox7;
    QLineEdit *Edit2;
    QDateEdit *DateTimePicker1;
    QPushButton *Button4;
    QLabel *Label1;
    DBGrid *DBGrid2;
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QDateEdit *DateTimePicker3;
    QPushButton *Button5;
    QPushButton *Button1; // "导出"
    QMenu *PopupMenu1;
    QAction *N2, *N3, *N4, *N6, *N8;
    QMenu *PopupMenu2;
    QAction *D1, *N1, *N5, *N7, *N9, *N11, *N12, *N13;
    FilterBar *LotFilter;
    FilterBar *ReturnFilter;

    // The return last clicked (its ID and variety), until a write or the window's next show.
    static QString SelectedReturn() { return s_returnId; }
    static QString SelectedReturnVariety() { return s_returnVariety; }
    // The key of the lot whose data the panel shows; -1 when none.
    qint64 LotId() const { return m_lotId; }

public slots:
    void FormShow() override;
    void DBGrid1CellClick();
    void DBGrid2CellClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button1Click();
    void FormPaint() override;

protected:

private:
    void clearAfterWrite();
    void forgetReturn();

    static QString s_returnId;
    static QString s_returnVariety;
    qint64 m_lotId = -1;
    bool m_lotPicked = false; // m_lotId was clicked in the lot list, after the last return click
};

extern TForm_th *Form_th;
