#pragma once
#include <QMainWindow>
#include <QImage>
#include <memory>

class IniFile;
class QAction;
class QLabel;
class QKeySequence;
class QMdiArea;
class QToolButton;

// The main window: an MDI frame with the toolbar, the menus and the status bar. It opens
// every other screen and closes only through the exit backup window.
class TForm_Client : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm_Client(QWidget *parent = nullptr);
    ~TForm_Client() override;

    QMdiArea *MdiArea;
    QToolBar *ToolBar1;
    QToolButton *ToolButton7, *ToolButton2, *ToolButton6, *ToolButton1, *ToolButton5, *ToolButton3,
        *ToolButton8, *ToolButton4, *ToolButton17;
    QAction *N4, *N5, *N6, *N7, *N15, *N19, *N16, *N18, *N9, *N10, *N24, *N25, *N26, *N13, *N14;
    QStatusBar *StatusBar1;
    QList<QToolButton *> ToolButtons() const;
    QString StatusPanel(int index) const;
    QString SkinFile() const { return m_skinFile; }

    // Closes the MDI child with the highest index and clears the child-open flag.
    void MDIclose();
    // Disables every toolbar button but the one given.
    void Toolbuttonclose(QToolButton *pressed);
    // Opens the screen registered for a button or menu item; the way it opens comes with it.
    void OpenScreen(const QString &trigger, QToolButton *pressed = nullptr);
    // The menu rule of the current permission: an ordinary user loses user management and
    // backup and restore, any other permission has them back.
    void ApplyPermission();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void endProgram();
    void buildToolbar();
    void buildMenus();
    void applySkin();
    void paintBackground();
    bool pressScreenButton(const QKeySequence &mnemonic);

    std::unique_ptr<IniFile> m_settings;
    QList<QLabel *> m_panels;
    QImage m_background;
    QString m_skinFile;
};

extern TForm_Client *Form_Client;
