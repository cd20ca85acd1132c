#pragma once
#include <QColor>
#include <QString>

// One cell of a list as an export writes it: the text the grid shows, and for number
// columns the stored number as well.
struct ContentCell {
    QString text;
    bool number = false; // a number cell (xls writes value, not text)
    double value = 0;
    bool blank = false;  // nothing stored (NULL) or a footer cell with nothing in it
};

// How the grid looks, for the writers that render it (htm, rtf).
struct GridLook {
    QString fontFamily = QStringLiteral("宋体");
    int fontPixelSize = 12;
    QColor titleBackground{212, 208, 200};
    QColor oddRow{196, 196, 255};
    QColor evenRow{221, 221, 255};
    QColor footerBackground{128, 128, 0};
    QColor text{0, 0, 0};
    bool rowColours = true;
};

// What a grid holds, as export walks it: its visible columns, every row in the list's
// current order, and its footer rows. Implemented by the grid; writers read only this.
class GridContent {
public:
    virtual ~GridContent() = default;
    virtual int ColumnCount() const = 0;
    virtual QString Title(int column) const = 0;
    virtual Qt::Alignment Alignment(int column) const = 0;
    virtual int ColumnWidth(int column) const = 0; // pixels
    virtual int RowCount() const = 0;
    virtual ContentCell Cell(int row, int column) const = 0;
    virtual int FooterRowCount() const = 0;
    virtual ContentCell FooterCell(int footerRow, int column) const = 0;
    virtual GridLook Look() const { return GridLook(); }
};
