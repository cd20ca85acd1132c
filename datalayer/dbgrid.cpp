#include "datalayer/dbgrid.h"

#include "datalayer/numbertext.h"
#include "datalayer/query.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

namespace {
const QString kRowNumber = QStringLiteral("序号");
const QColor kOdd(196, 196, 255);
const QColor kEven(221, 221, 255);
} // namespace

// The grid's view of its query: no rows of its own, every cell read from the query.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(DBGrid *grid) : QAbstractTableModel(grid), m_grid(grid) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_grid->m_query ? 0 : m_grid->m_query->RecordCount();
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_grid->m_columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
            return QVariant();
        switch (role) {
        case Qt::DisplayRole:
            return m_grid->CellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return int(m_grid->m_alignment);
        case Qt::BackgroundRole:
            return m_grid->m_rowColours ? QVariant(m_grid->RowColour(index.row())) : QVariant();
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return QVariant();
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal) {
            if (section < 0 || section >= columnCount())
                return QVariant();
            const GridColumn &c = m_grid->m_columns[size_t(section)];
            if (role == Qt::DisplayRole)
                return c.title.isEmpty() ? c.fieldName : c.title;
            if (role == Qt::TextAlignmentRole)
                return int(m_grid->m_alignment);
            return QVariant();
        }
        // The indicator column marks the current row.
        if (role == Qt::DisplayRole && m_grid->m_query && m_grid->m_query->RecNo() == section + 1)
            return QStringLiteral("▶");
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }
    void rowChanged(int row)
    {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    }
    void currentMoved() { emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1)); }

private:
    DBGrid *m_grid;
};

// The footer row under the cells, aligned with the grid's columns.
class GridFooter : public QWidget {
public:
    explicit GridFooter(DBGrid *grid) : QWidget(grid), m_grid(grid) { hide(); }
    QColor colour = QColor(212, 208, 200);

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour);
        p.setPen(Qt::black);
        const int offset = m_grid->viewport()->x() - x();
        for (int c = 0; c < int(m_grid->Columns().size()); ++c) {
            if (m_grid->isColumnHidden(c))
                continue;
            const QRect cell(m_grid->columnViewportPosition(c) + offset, 0, m_grid->columnWidth(c), height());
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            // A total too wide for its column shows that it is cut, never only its last digits.
            const QRect text = cell.adjusted(3, 0, -3, 0);
            const QString shown = p.fontMetrics().elidedText(m_grid->FooterCellText(c), Qt::ElideRight, text.width());
            p.drawText(text, int(m_grid->CellAlignment()), shown);
        }
    }

private:
    DBGrid *m_grid;
};

// Export's view of a grid: the visible columns, every row, the footer.
class DBGridContent : public GridContent {
public:
    explicit DBGridContent(const DBGrid *grid) : m_grid(grid)
    {
        for (int c = 0; c < int(grid->Columns().size()); ++c)
            if (!grid->isColumnHidden(c) && grid->Columns()[size_t(c)].visible)
                m_visible.push_back(c);
    }
    int ColumnCount() const override { return int(m_visible.size()); }
    QString Title(int column) const override
    {
        const GridColumn &c = col(column);
        return c.title.isEmpty() ? c.fieldName : c.title;
    }
    Qt::Alignment Alignment(int) const override { return m_grid->CellAlignment(); }
    int ColumnWidth(int column) const override { return m_grid->columnWidth(m_visible[size_t(column)]); }
    int RowCount() const override { return m_grid->query() ? m_grid->query()->RecordCount() : 0; }
    ContentCell Cell(int row, int column) const override
    {
        const int gc = m_visible[size_t(column)];
        ContentCell cell;
        cell.text = m_grid->CellText(row, gc);
        const Query *q = m_grid->query();
        const int field = q ? q->FieldIndex(col(column).fieldName) : -1;
        if (col(column).fieldName == kRowNumber) {
            cell.number = true;
            cell.value = row + 1;
        } else if (field < 0 || q->IsNull(row, field)) {
            cell.blank = true;
        } else if (q->Kind(field) == FieldKind::Number ||
                   (q->Kind(field) == FieldKind::Any && q->Value(row, field).typeId() != QMetaType::QString)) {
            cell.number = true;
            cell.value = q->Number(row, field);
        }
        return cell;
    }
    int FooterRowCount() const override { return m_grid->FooterVisible() ? 1 : 0; }
    ContentCell FooterCell(int, int column) const override
    {
        const GridColumn &c = col(column);
        ContentCell cell;
        cell.text = m_grid->FooterCellText(m_visible[size_t(column)]);
        cell.blank = c.footer == FooterKind::None;
        if (c.footer == FooterKind::Sum) {
            cell.number = true;
            cell.value = sum(c.fieldName);
        }
        return cell;
    }
    GridLook Look() const override
    {
        GridLook look;
        look.rowColours = m_grid->RowColours();
        look.footerBackground = m_grid->FooterColour();
        look.fontFamily = m_grid->font().family();
        return look;
    }

private:
    const GridColumn &col(int column) const { return m_grid->Columns()[size_t(m_visible[size_t(column)])]; }
    double sum(const QString &field) const
    {
        const Query *q = m_grid->query();
        const int f = q ? q->FieldIndex(field) : -1;
        double total = 0;
        for (int r = 0; f >= 0 && r < q->RecordCount(); ++r)
            total += q->Number(r, f);
        return total;
    }
    const DBGrid *m_grid;
    std::vector<int> m_visible;
};

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this)), m_footer(new GridFooter(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list (the arrows move in it): a table's Tab walks its cells and wraps.
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(16);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::TitleBtnClick);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fitting)
            m_userWidths.insert(column);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_syncing || !m_query || !current.isValid())
            return;
        m_syncing = true;
        m_query->SetRecNo(current.row() + 1);
        m_syncing = false;
    });
}

DBGrid::~DBGrid() = default;

void DBGrid::SetQuery(Query *query)
{
    for (const auto &link : m_links)
        disconnect(link);
    m_links.clear();
    m_query = query;
    if (m_query) {
        m_links << connect(m_query, &Query::rowsReset, this, &DBGrid::rebuild);
        m_links << connect(m_query, &Query::currentChanged, this, &DBGrid::followCurrent);
        m_links << connect(m_query, &Query::rowChanged, this, [this](int row) {
            m_model->rowChanged(row);
            recomputeFooter();
            fitColumns(true);
        });
        m_links << connect(m_query, &QObject::destroyed, this, [this] { SetQuery(nullptr); });
    }
    rebuild();
}

void DBGrid::SetColumns(const std::vector<GridColumn> &columns)
{
    m_columns = columns;
    m_fittedTo.clear();
    rebuild();
    for (int c = 0; c < int(m_columns.size()); ++c)
        setColumnHidden(c, !m_columns[size_t(c)].visible);
    fitColumns();
}

int DBGrid::ColumnIndex(const QString &fieldName) const
{
    for (int c = 0; c < int(m_columns.size()); ++c)
        if (m_columns[size_t(c)].fieldName == fieldName)
            return c;
    return -1;
}

void DBGrid::SetColumnWidth(const QString &fieldName, int width)
{
    const int c = ColumnIndex(fieldName);
    if (c < 0)
        return;
    m_columns[size_t(c)].width = width;
    setColumnWidth(c, width);
}

void DBGrid::SetColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= int(m_columns.size()))
        return;
    m_columns[size_t(column)].visible = visible;
    setColumnHidden(column, !visible);
    m_footer->update();
}

void DBGrid::SetRowColours(bool on)
{
    m_rowColours = on;
    viewport()->update();
}

void DBGrid::SetFooterVisible(bool on)
{
    m_footer->setVisible(on);
    updateGeometries();
}

bool DBGrid::FooterVisible() const
{
    return !m_footer->isHidden();
}

void DBGrid::SetFooterColour(const QColor &colour)
{
    m_footer->colour = colour;
    m_footer->update();
}

QColor DBGrid::FooterColour() const
{
    return m_footer->colour;
}

void DBGrid::SetCellAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    m_model->reset();
    m_footer->update();
}

QString DBGrid::CellText(int row, int column) const
{
    if (column < 0 || column >= int(m_columns.size()) || !m_query || row < 0 || row >= m_query->RecordCount())
        return QString();
    const GridColumn &c = m_columns[size_t(column)];
    if (c.fieldName == kRowNumber)
        return QString::number(row + 1); // the position in the list as it is ordered now
    const int field = m_fieldOf[size_t(column)];
    if (field < 0 || m_query->IsNull(row, field))
        return QString();
    if (!c.displayFormat.isEmpty() && m_query->Kind(field) == FieldKind::Number)
        return FormatFloat(c.displayFormat, m_query->Number(row, field));
    return m_query->Text(row, field);
}

QString DBGrid::FooterCellText(int column) const
{
    return column >= 0 && column < int(m_footerCells.size()) ? m_footerCells[size_t(column)] : QString();
}

QColor DBGrid::RowColour(int row) const
{
    const int recNo = row + 1;
    return recNo > 0 && recNo % 2 == 1 ? kOdd : kEven;
}

void DBGrid::TitleBtnClick(int column)
{
    if (!m_titleSort || column < 0 || column >= int(m_columns.size()))
        return;
    GridColumn &c = m_columns[size_t(column)];
    if (c.fieldName.isEmpty())
        return;
    if (c.marker == GridColumn::Marker::None)
        c.marker = GridColumn::Marker::Down;
    const QString sort = c.fieldName + (c.marker == GridColumn::Marker::Up ? " DESC" : " ASC");
    // A column the result lacks ("序号") cannot sort: the order stays.
    if (m_query && m_query->Active() && m_query->FieldIndex(c.fieldName) >= 0)
        m_query->SetSort(sort);
    c.marker = c.marker == GridColumn::Marker::Up ? GridColumn::Marker::Down : GridColumn::Marker::Up;
    if (!(QApplication::keyboardModifiers() & Qt::ControlModifier))
        for (GridColumn &other : m_columns)
            if (&other != &c)
                other.marker = GridColumn::Marker::None;
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, c.marker == GridColumn::Marker::Up ? Qt::AscendingOrder
                                                                                     : Qt::DescendingOrder);
}

std::unique_ptr<GridContent> DBGrid::Content() const
{
    return std::make_unique<DBGridContent>(this);
}

void DBGrid::rebuild()
{
    m_fieldOf.assign(m_columns.size(), -1);
    for (size_t c = 0; m_query && c < m_columns.size(); ++c)
        m_fieldOf[c] = m_query->FieldIndex(m_columns[c].fieldName);
    if (m_query && m_query->Sort().isEmpty()) {
        // A new statement: the markers go with the old order.
        for (GridColumn &c : m_columns)
            c.marker = GridColumn::Marker::None;
        horizontalHeader()->setSortIndicatorShown(false);
    }
    m_model->reset();
    recomputeFooter();
    if (m_query && m_query->RecordCount()) {
        // Fitted on the first rows of each statement; a requery or a sort only widens a column
        // whose new rows or total no longer fit, and leaves the widths the user set.
        const bool again = m_query->SQL() == m_fittedTo;
        m_fittedTo = m_query->SQL();
        fitColumns(again);
        followCurrent(m_query->RecNo() - 1);
    }
}

void DBGrid::recomputeFooter()
{
    m_footerCells.assign(m_columns.size(), QString());
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const GridColumn &col = m_columns[c];
        if (col.footer == FooterKind::Text) {
            m_footerCells[c] = col.footerText;
        } else if (col.footer == FooterKind::Sum) {
            double total = 0;
            const int field = m_fieldOf[c];
            for (int r = 0; field >= 0 && r < m_query->RecordCount(); ++r)
                total += m_query->Number(r, field);
            m_footerCells[c] = FormatFloat(col.footerFormat, total);
        }
    }
    m_footer->update();
}

void DBGrid::followCurrent(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selectionModel()->clear();
    }
    m_model->currentMoved();
    m_syncing = false;
}

void DBGrid::fitColumns(bool growOnly)
{
    // Widths from the titles, the first rows and the totals; measuring every row of a long
    // list is slow.
    const QFontMetrics fm(font());
    const int sample = m_query ? std::min(m_query->RecordCount(), 50) : 0;
    m_fitting = true;
    if (!growOnly)
        m_userWidths.clear();
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const GridColumn &col = m_columns[size_t(c)];
        if (col.width > 0) {
            setColumnWidth(c, col.width);
            continue;
        }
        if (growOnly && m_userWidths.contains(c))
            continue;
        int w = fm.horizontalAdvance(col.title.isEmpty() ? col.fieldName : col.title) + 24;
        for (int r = 0; r < sample; ++r)
            w = std::max(w, fm.horizontalAdvance(CellText(r, c)) + 20);
        w = std::max(w, fm.horizontalAdvance(FooterCellText(c)) + 20);
        w = std::min(w, 300);
        if (!growOnly || w > columnWidth(c))
            setColumnWidth(c, w);
    }
    m_fitting = false;
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    emit CellClick();
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateGeometries();
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx)
        m_footer->update();
}

void DBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    const int footerHeight = FooterVisible() ? verticalHeader()->defaultSectionSize() + 2 : 0;
    const QMargins m = viewportMargins();
    if (m.bottom() != footerHeight)
        setViewportMargins(m.left(), m.top(), m.right(), footerHeight);
    if (FooterVisible()) {
        const QRect vp = viewport()->geometry();
        m_footer->setGeometry(frameWidth(), vp.bottom() + 1, vp.right() + 1 - frameWidth(), footerHeight);
        m_footer->raise();
    }
}
