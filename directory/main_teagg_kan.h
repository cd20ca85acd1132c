#pragma once
#include <QWidget>

#include "directory/dealercards.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// The card window ("广告信息查看"): one dealer card with its logo, borderless and centred.
// It reads through a query of its own, so it can stand beside any screen.
class TForm_TeaGG_kan : public QWidget {
    Q_OBJECT
public:
    explicit TForm_TeaGG_kan(QWidget *parent = nullptr);
    ~TForm_TeaGG_kan() override;

    QGroupBox *GroupBox1;
    QTableWidget *StringGrid1;
    QPlainTextEdit *Memo1;
    QLabel *Image2;
    QPushButton *Button1; // "退出"
    QPushButton *Button2; // "复制"

    // The slot of the tile last pressed; empty after a list click.
    QString Slot() const { return m_slot; }
    // A tile press: the card of that slot, read now and shown. Throws DbError.
    void ShowSlot(const QString &slot);
    // A list click: the card as the list holds it.
    void ShowCard(const DealerCard &card);
    // The card's text as "复制" puts it on the clipboard: a caption and its value per line,
    // then the introduction.
    QString CardText() const;

public slots:
    void Button1Click();
    void Button2Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill(const DealerCard &card);
    void present();

    QString m_slot;
};

extern TForm_TeaGG_kan *Form_TeaGG_kan;
