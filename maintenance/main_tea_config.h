#pragma once
#include <QWidget>
#include <array>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QToolButton;

// Tea parameters ("茶叶相关参数管理"): the varieties, origins and packaging kinds that the
// choice boxes of other screens offer, each added with "+" and removed with "-".
class TForm_tea_config : public QWidget {
    Q_OBJECT
public:
    explicit TForm_tea_config(QWidget *parent = nullptr);
    ~TForm_tea_config() override;

    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLineEdit *Edit1, *Edit2, *Edit3;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4, *SpeedButton5, *SpeedButton6;
    QListWidget *ListBox1, *ListBox2, *ListBox3;

public slots:
    void FormShow();
    void SpeedButton1Click() { addEntry(0); }
    void SpeedButton2Click() { removeEntry(0); }
    void SpeedButton3Click() { addEntry(1); }
    void SpeedButton4Click() { removeEntry(1); }
    void SpeedButton5Click() { addEntry(2); }
    void SpeedButton6Click() { removeEntry(2); }
    void ListBox1Click() { copySelection(0); }
    void ListBox2Click() { copySelection(1); }
    void ListBox3Click() { copySelection(2); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Group {
        QLineEdit *edit;
        QListWidget *list;
    };
    void addEntry(int group);
    void removeEntry(int group);
    void copySelection(int group);
    void reload(int group);

    std::array<Group, 3> m_groups;
};

extern TForm_tea_config *Form_tea_config;
