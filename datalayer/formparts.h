#pragma once
#include "datalayer/dbgrid.h"

#include <QColor>
#include <QString>
#include <QStringList>

class LabeledEdit;
class QComboBox;
class QDateEdit;
class QMenu;
class QWidget;

// Builders for the controls the screens lay out by hand, so every screen's fields,
// pickers and grid columns come out alike.

// A labelled edit with its caption on the left, at (8, top) in its panel.
LabeledEdit *MakeField(QWidget *parent, const char *name, const QString &label, int top, bool editable,
                       const QString &initial = QString(), int width = 185);
// An editable choice box with its caption label on the left, at (8, top) in its panel.
QComboBox *MakeChoice(QWidget *parent, const char *name, const QString &label, int top, const QStringList &items,
                      const QString &initial);
// A date picker in the short date format, showing today, with a calendar popup.
QDateEdit *MakeDatePicker(QWidget *parent, const char *name);
// A grid column bound to a result column by name.
GridColumn MakeColumn(const QString &name, const QString &format = QString(), int width = 0);
// The same column with the footer text "总计：" under it, or with its sum in a format.
GridColumn WithTotalText(GridColumn column);
GridColumn WithSum(GridColumn column, const QString &format);
// The colour of a control's typed text.
void SetTextColour(QWidget *widget, const QColor &colour);
// The menu pops up where the grid is right-clicked.
void AttachPopup(DBGrid *grid, QMenu *menu);
