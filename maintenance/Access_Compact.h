#pragma once
#include <QWidget>

class LabeledEdit;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolButton;

// The compaction window ("数据库压缩"): compacts and checks a database file with the engine.
class TForm_Access_Compact : public QWidget {
    Q_OBJECT
public:
    explicit TForm_Access_Compact(QWidget *parent = nullptr);
    ~TForm_Access_Compact() override;

    LabeledEdit *LabeledEdit1; // 路径：
    QToolButton *SpeedButton1; // ...
    QToolButton *SpeedButton2; // 默认
    QPushButton *Button1;      // 压缩数据库
    QStatusBar *StatusBar1;

    // What the status bar's one panel shows.
    QString StatusText() const;

public slots:
    void SpeedButton1Click();
    void SpeedButton2Click();
    bool Button1Click(); // true when the file was compacted

private:
    QLabel *m_status;
};

extern TForm_Access_Compact *Form_Access_Compact;
