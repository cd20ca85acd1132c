#pragma once
#include <QObject>
#include <QPoint>
#include <QSet>
#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;

// The filter bar of list screens: a choice box starting with "全部", an edit box, a date
// picker that takes the edit box's place while a date column is chosen, and "查询".
// The screen keeps its own statements; the bar only shows and hides and presses.
class FilterBar : public QObject {
    Q_OBJECT
public:
    FilterBar(QComboBox *choice, QLineEdit *edit, QDateEdit *date, QPushButton *query, QObject *parent = nullptr);

    // The positions of the choice box whose column is a date.
    void SetDateItems(const QSet<int> &items) { m_dateItems = items; }
    // Where the date picker appears; by default where the edit box stands.
    void SetDatePosition(const QPoint &position) { m_datePosition = position; m_hasDatePosition = true; }

    int Choice() const;          // the chosen position (0 is "全部")
    bool DateChosen() const { return m_dateItems.contains(Choice()); }
    QString Value() const;       // the edit text, or the picked date in the short date format

    // "重新导入": back to "全部", then "查询".
    void Reload();
    // The "筛选此…" items: put a value in, choose its column, then "查询".
    void FilterThis(int item, const QString &value);
    // Adds the popup item "重新导入".
    QAction *AddReloadItem(QMenu *menu, const QString &objectName);
    // Adds a popup item that filters on a column of the current row.
    QAction *AddFilterItem(QMenu *menu, const QString &objectName, const QString &caption, int item,
                           std::function<QString()> currentValue);

public slots:
    void ChoiceChanged();

private:
    QComboBox *m_choice;
    QLineEdit *m_edit;
    QDateEdit *m_date;
    QPushButton *m_query;
    QSet<int> m_dateItems;
    QPoint m_datePosition;
    bool m_hasDatePosition = false;
};
