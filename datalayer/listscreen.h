#pragma once
#include <QList>
#include <QWidget>

class DBGrid;
class Query;

// The frame of an MDI list screen: it stays maximised (minimise and restore are refused,
// close still works), and closing gives the main window's toolbar back, closes the shared
// queries the screen used and unbinds its grids.
class ListScreen : public QWidget {
    Q_OBJECT
public:
    explicit ListScreen(QWidget *parent = nullptr);
    ~ListScreen() override;

    void SetUsedQueries(const QList<Query *> &queries) { m_queries = queries; }
    void AddGrid(DBGrid *grid) { m_grids << grid; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The screen's own closing work (settings handle and the like), before the common steps.
    virtual void FormClose() {}
    // The first showing (lists filled, fields set); an error shows in the standard error box.
    virtual void FormShow() {}
    // The layout that follows the screen's size, on every showing and resize.
    virtual void FormPaint() {}
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void guardFrame();
    QList<Query *> m_queries;
    QList<DBGrid *> m_grids;
    QWidget *m_frame = nullptr;
    bool m_closed = false;
    bool m_shown = false;
};
