#pragma once
#include <QWidget>
#include <memory>

class IniFile;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The exit backup window: offers a last copy of the database, then ends the program or
// returns to work.
class TForm_data_bak : public QWidget {
    Q_OBJECT
public:
    explicit TForm_data_bak(QWidget *parent = nullptr);
    ~TForm_data_bak() override;

    QLabel *Label1;
    QProgressBar *ProgressBar1;
    QCheckBox *CheckBox1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;

    bool Copying() const { return m_copying; }
    // Where the exit copy goes today: the backup folder's day folder + "12.mdb".
    static QString ExitBackupPath(IniFile &settings);

public slots:
    void CheckBox1Click();
    bool Button1Click(); // true when the copy was made
    void Button2Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setButtonsEnabled(bool enabled);

    std::unique_ptr<IniFile> m_settings;
    bool m_copying = false;
};

extern TForm_data_bak *Form_data_bak;
