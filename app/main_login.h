#pragma once
#include "datalayer/connection.h"
#include "datalayer/query.h"

#include <QDialog>
#include <QThread>
#include <memory>

class IniFile;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// What one password check found, handed from the worker to the window.
struct LoginOutcome {
    enum Result { Accepted, Refused, Failed } result = Failed; // Failed: no message (engine or cipher error)
    QString permission;
    QString userName; // as stored, whatever letter case was typed
};

// The check itself, free of widgets: reads the user's row on conn and compares passwords.
LoginOutcome CheckLogin(Connection &conn, const QString &userName, const QString &password);

// The login window: pick a user, type the password, log in; the check runs on a worker.
class TForm_login : public QDialog {
    Q_OBJECT
public:
    explicit TForm_login(QWidget *parent = nullptr);
    ~TForm_login() override;

    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QPushButton *Button1;
    QPushButton *Button2;
    QTimer *Timer1;
    Connection ADOConnection1{QStringLiteral("ADOConnection1")};
    Query *ADOQuery1;

    bool Checking() const { return m_checking; }
    int Ticks() const { return m_ticks; }

public slots:
    void Button1Click();
    void Button2Click();
    void ComboBox1Click();
    void Timer1Timer();

signals:
    void checkFinished(bool accepted); // after each check, once its outcome is on the window

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void showPermission();
    void finishCheck(const LoginOutcome &outcome);

    std::unique_ptr<IniFile> m_settings;
    int m_ticks = 0;
    bool m_checking = false;
    bool m_pickWaiting = false; // a pick during a check is shown after it
    bool m_shown = false;
};

// The worker that runs one check and ends; it is not kept.
class LoginTthread : public QThread {
    Q_OBJECT
public:
    LoginTthread(Connection *conn, const QString &userName, const QString &password, QObject *parent = nullptr);

signals:
    void checked(const LoginOutcome &outcome);

protected:
    void run() override;

private:
    Connection *m_conn;
    QString m_userName;
    QString m_password;
};

extern TForm_login *Form_login;
