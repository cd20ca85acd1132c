#pragma once
#include <QString>
#include <QStringList>

class DBGrid;
class QWidget;
struct SaveDialogSettings;

// The save dialog's types, in filter-index order (1 = txt ... 5 = xls).
QStringList ExportFilters();

// Where the first export of a run is proposed: the user's documents folder, or the home
// folder when there is none.
QString FirstExportFolder();

// The file name for a chosen name and type extension: kept when its last three characters
// are the extension (ASCII case ignored), otherwise the name + "." + extension.
QString ExportFileName(const QString &chosen, const QString &ext);

// Asks for a file name and type and writes the grid's whole content there; true when a file
// was written. A failed write leaves no partial file and keeps an existing file of that name.
bool ExportGrid(DBGrid *grid, SaveDialogSettings &dialog, QWidget *owner = nullptr);
