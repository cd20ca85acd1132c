#pragma once
#include <QWidget>
#include <memory>

class IniFile;
class LabeledEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolButton;

// The backup and restore window ("数据库备份与还原"): copies the database into a day folder
// of the backup folder on demand, and puts a chosen copy back in its place.
class TForm_access_bak : public QWidget {
    Q_OBJECT
public:
    explicit TForm_access_bak(QWidget *parent = nullptr);
    ~TForm_access_bak() override;

    LabeledEdit *LabeledEdit1; // 备份至目录：
    QToolButton *SpeedButton1; // ...
    QToolButton *SpeedButton2; // 默认
    LabeledEdit *LabeledEdit2; // 备份文件名：
    QPushButton *Button1;      // 备份
    QLabel *Label1;
    QComboBox *ComboBox1;      // day folders
    QComboBox *ComboBox2;      // copies in the chosen day folder
    QCheckBox *CheckBox1;      // 还原前先备份
    QPushButton *Button2;      // 还原
    QStatusBar *StatusBar1;

    // What the status bar's one panel shows.
    QString StatusText() const;

    // The text every combo box shows while there is nothing to choose.
    static inline const QString kNone = QStringLiteral("无备份数据库");

public slots:
    void FormShow();
    void ComboBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    bool Button1Click(); // true when the copy was made
    void Button2Click();
    void CheckBox1Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void setStatus(const QString &text);
    void setBackupFolder(const QString &folder);
    void fillDayFolders();
    void fillCopies();
    QString dayFolder() const;
    // Where "备份" writes now, folders made; empty with the reason when it cannot.
    QString backupTarget(QString &problem);

    std::unique_ptr<IniFile> m_settings;
    QLabel *m_status;
};

extern TForm_access_bak *Form_access_bak;

// Whether a list screen or a window other than the main window and except is open: a
// restore waits until they are closed.
bool OtherWindowsOpen(const QWidget *except);
