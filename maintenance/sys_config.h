#pragma once
#include <QWidget>
#include <memory>

class IniFile;
class QCheckBox;
class QListWidget;
class QTabWidget;

// The system options ("系统选项"): the window skin, applied at once, and the exit backup.
class TForm_config : public QWidget {
    Q_OBJECT
public:
    explicit TForm_config(QWidget *parent = nullptr);
    ~TForm_config() override;

    QTabWidget *PageControl1;
    QWidget *TabSheet1; // 皮肤选择
    QWidget *TabSheet2; // 选项设置
    QListWidget *ListBox1;
    QCheckBox *CheckBox1; // 退出时自动备份数据库

public slots:
    void FormShow();
    void ListBox1Click();
    void CheckBox1Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<IniFile> m_settings;
};

extern TForm_config *Form_config;
