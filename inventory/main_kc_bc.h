#pragma once
#include <QWidget>

class LabeledEdit;
class QPushButton;

// The blend component dialog ("配茶"): how much of one lot goes into the blend being
// composed on the inventory screen's blending tab. It writes nothing to the database.
class TForm_bcadd : public QWidget {
    Q_OBJECT
public:
    explicit TForm_bcadd(QWidget *parent = nullptr);
    ~TForm_bcadd() override;

    LabeledEdit *LabeledEdit1; // 库存编号
    LabeledEdit *LabeledEdit2; // 成本单价
    LabeledEdit *LabeledEdit4; // 加入重量
    QPushButton *Button1;      // "加入"

    // Offers one lot: its number, net price and remaining weight, which is also the most
    // that may go in, whether the dialog is open already or not.
    void Offer(const QString &lot, const QString &price, const QString &remaining);
    // The most that may go in, as the text it was taken from.
    QString MaximumWeight() const { return m_maximum; }

public slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_maximum;
};

extern TForm_bcadd *Form_bcadd;
