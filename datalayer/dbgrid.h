#pragma once
#include "datalayer/gridcontent.h"

#include <QSet>
#include <QTableView>
#include <memory>
#include <vector>

class Query;
class GridModel;
class GridFooter;

enum class FooterKind { None, Text, Sum };

// One column of a grid, bound to a result column by name.
struct GridColumn {
    QString fieldName;     // "序号" draws row numbers; an empty name is a column that never sorts
    QString title;         // shown; the field name when empty
    QString displayFormat; // pattern for number cells ("￥,0.00"); empty: the field's own text
    int width = 0;         // pixels; 0 fits the column to its contents
    bool visible = true;
    FooterKind footer = FooterKind::None;
    QString footerText;    // FooterKind::Text, e.g. "总计："
    QString footerFormat;  // FooterKind::Sum, e.g. "0.00, Kg"
    enum class Marker { None, Down, Up } marker = Marker::None;
};

// The list grid shared by every screen (the old DBGrid): shows a query's rows through its
// columns, draws row numbers in "序号", colours rows, sorts on a title click, keeps the
// query's current row, and has an optional footer row with texts and sums.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    // The old DataSource binding; nullptr unbinds. The grid follows every change of the query.
    void SetQuery(Query *query);
    Query *query() const { return m_query; }

    void SetColumns(const std::vector<GridColumn> &columns);
    const std::vector<GridColumn> &Columns() const { return m_columns; }
    int ColumnIndex(const QString &fieldName) const; // -1 when absent
    void SetColumnWidth(const QString &fieldName, int width);
    void SetColumnVisible(int column, bool visible);

    void SetRowColours(bool on);
    bool RowColours() const { return m_rowColours; }
    void SetTitleSort(bool on) { m_titleSort = on; }
    void SetFooterVisible(bool on); // the footer row (texts and sums of the columns' footers)
    bool FooterVisible() const;
    void SetFooterColour(const QColor &colour);
    QColor FooterColour() const;
    void SetCellAlignment(Qt::Alignment alignment); // titles, cells and footers alike
    Qt::Alignment CellAlignment() const { return m_alignment; }

    // What a cell shows (row in the list's current order, column of this grid).
    QString CellText(int row, int column) const;
    QString FooterCellText(int column) const;
    QColor RowColour(int row) const;

    // Sorts by a column as a title click does (markers and all); nothing for "序号" or no field.
    void TitleBtnClick(int column);

    // The grid's content for export: visible columns, all rows, the footer.
    std::unique_ptr<GridContent> Content() const;

signals:
    // A cell was clicked or a mouse button pressed on the grid (the query's current row is set).
    void CellClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    friend class GridModel;
    void rebuild();
    void recomputeFooter();
    void fitColumns(bool growOnly = false);
    void followCurrent(int row);

    Query *m_query = nullptr;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldOf; // grid column -> query field, -1 when absent
    std::vector<QString> m_footerCells;
    GridModel *m_model;
    GridFooter *m_footer;
    bool m_rowColours = true;
    bool m_titleSort = true;
    bool m_syncing = false;
    QString m_fittedTo; // the statement whose first rows the widths were measured on
    QSet<int> m_userWidths; // columns the user resized since that statement came
    bool m_fitting = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QList<QMetaObject::Connection> m_links;
};
