#pragma once
#include <QWidget>

class LabeledEdit;
class QComboBox;
class QLabel;
class QToolButton;

// The net tea ratio calculator ("净茶率计算工具"): how much net tea a raw lot gives and at
// what price per unit. It stores nothing; the main window waits while it is open.
class TForm_jcl : public QWidget {
    Q_OBJECT
public:
    explicit TForm_jcl(QWidget *parent = nullptr);
    ~TForm_jcl() override;

    LabeledEdit *LabeledEdit7; // 总重量
    LabeledEdit *LabeledEdit1; // 毛茶价
    QLabel *Label6;
    QComboBox *ComboBox6;      // 净茶率
    QToolButton *SpeedButton1; // "="
    LabeledEdit *LabeledEdit8; // 净茶重
    LabeledEdit *LabeledEdit6; // 净茶价

public slots:
    void SpeedButton1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
};

extern TForm_jcl *Form_jcl;
