#include "datalayer/query.h"

#include "datalayer/connection.h"
#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/numbertext.h"

#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>

// Values are kept by column: numbers as doubles, texts as UTF-8 in one buffer per column,
// so a list of 100,000 rows costs a few bytes a cell.
struct Query::Column {
    QString name;
    QString table;  // the table and column it comes from, for blob writes
    QString origin;
    FieldKind kind = FieldKind::Any;
    std::vector<uint8_t> nulls;
    std::vector<double> numbers;
    std::vector<quint32> offsets{0}; // text i is [offsets[i], offsets[i+1])
    QByteArray text;
    std::vector<QByteArray> blobs;
    std::vector<QVariant> values;

    QString textAt(int r) const
    {
        const quint32 b = offsets[size_t(r)], e = offsets[size_t(r) + 1];
        return QString::fromUtf8(text.constData() + b, qsizetype(e - b));
    }
};

namespace {
FieldKind kindOf(const char *declared)
{
    if (!declared)
        return FieldKind::Any;
    const QByteArray d = QByteArray(declared).toUpper();
    if (d == "TEXT")
        return FieldKind::Text;
    if (d == "REAL" || d == "INTEGER")
        return FieldKind::Number;
    if (d == "DATE")
        return FieldKind::Date;
    if (d == "BOOLEAN")
        return FieldKind::YesNo;
    if (d == "BLOB")
        return FieldKind::Blob;
    return FieldKind::Any;
}

QVariant anyValue(sqlite3_stmt *stmt, int c)
{
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, c)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, c));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                          sqlite3_column_bytes(stmt, c)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                   sqlite3_column_bytes(stmt, c)));
    default:
        return QVariant();
    }
}

QString variantText(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
        return FormatGeneral(v.toDouble());
    return v.toString();
}

// Days since 1899-12-30, the old runtime's date numbers.
double dateNumber(const QDateTime &dt)
{
    static const QDate epoch(1899, 12, 30);
    return double(epoch.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime parseStoredDate(const QString &text)
{
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(text, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return dt;
}
} // namespace

Query::Query(Connection *connection, const QString &name, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(name);
}

Query::~Query() = default;

void Query::Close()
{
    const bool wasActive = m_active;
    m_active = false;
    m_columns.clear();
    m_order.clear();
    m_rows = 0;
    m_current = 0;
    m_eof = m_bof = true;
    if (wasActive) {
        emit rowsReset();
        emit currentChanged(-1);
    }
}

void Query::Open()
{
    if (m_active)
        return;
    if (!m_connection)
        throw DbError(objectName() + QStringLiteral(": Missing Connection or ConnectionString"));
    fetch();
    m_active = true;
    applySort();
    setCurrent(m_rows ? 0 : -1);
    emit rowsReset();
    emit currentChanged(m_rows ? 0 : -1);
}

void Query::Reopen(const QString &sql)
{
    Close();
    SetSQL(sql);
    Open();
}

void Query::Requery()
{
    const QString sort = m_sort;
    Close();
    m_sort = sort;
    Open();
}

void Query::fetch()
{
    sqlite3 *db = m_connection->Handle();
    const QByteArray sql = TranslateSql(m_sql).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
        const QString text = stmt ? QString::fromUtf8(sqlite3_errmsg(db))
                                  : (m_sql.trimmed().isEmpty() ? objectName() + QStringLiteral(": CommandText does not return a result set")
                                                               : QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(stmt);
        m_connection->SetLastError(text);
        throw DbError(text);
    }
    const int n = sqlite3_column_count(stmt);
    m_columns.clear();
    for (int c = 0; c < n; ++c) {
        auto col = std::make_unique<Column>();
        col->name = QString::fromUtf8(sqlite3_column_name(stmt, c));
        col->kind = kindOf(sqlite3_column_decltype(stmt, c));
        if (const char *t = sqlite3_column_table_name(stmt, c))
            col->table = QString::fromUtf8(t);
        if (const char *o = sqlite3_column_origin_name(stmt, c))
            col->origin = QString::fromUtf8(o);
        m_columns.push_back(std::move(col));
    }
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            Column &col = *m_columns[size_t(c)];
            const bool null = sqlite3_column_type(stmt, c) == SQLITE_NULL;
            col.nulls.push_back(null);
            switch (col.kind) {
            case FieldKind::Number:
            case FieldKind::YesNo:
                col.numbers.push_back(null ? 0.0 : sqlite3_column_double(stmt, c));
                break;
            case FieldKind::Text:
            case FieldKind::Date:
                if (!null)
                    col.text.append(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                    sqlite3_column_bytes(stmt, c));
                col.offsets.push_back(quint32(col.text.size()));
                break;
            case FieldKind::Blob:
                col.blobs.push_back(null ? QByteArray()
                                         : QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                                      sqlite3_column_bytes(stmt, c)));
                break;
            case FieldKind::Any:
                col.values.push_back(anyValue(stmt, c));
                break;
            }
        }
        ++rows;
    }
    if (rc != SQLITE_DONE) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        m_columns.clear();
        m_connection->SetLastError(text);
        throw DbError(text);
    }
    sqlite3_finalize(stmt);
    m_rows = rows;
}

void Query::SetRecNo(int recNo)
{
    if (!m_rows)
        return;
    setCurrent(std::clamp(recNo, 1, m_rows) - 1);
    emit currentChanged(m_current);
}

void Query::setCurrent(int row)
{
    m_current = std::max(row, 0);
    m_bof = m_eof = (m_rows == 0);
}

void Query::Next()
{
    if (m_current + 1 < m_rows) {
        m_current++;
        m_bof = false;
        emit currentChanged(m_current);
    } else {
        m_eof = true;
    }
}

void Query::Prior()
{
    if (m_current > 0) {
        m_current--;
        m_eof = false;
        emit currentChanged(m_current);
    } else {
        m_bof = true;
    }
}

QString Query::FieldName(int column) const
{
    return column >= 0 && column < FieldCount() ? m_columns[size_t(column)]->name : QString();
}

FieldKind Query::Kind(int column) const
{
    return column >= 0 && column < FieldCount() ? m_columns[size_t(column)]->kind : FieldKind::Any;
}

int Query::FieldIndex(const QString &name) const
{
    for (int c = 0; c < FieldCount(); ++c)
        if (m_columns[size_t(c)]->name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

Field Query::FieldByName(const QString &name) const
{
    const int c = FieldIndex(name);
    if (c < 0)
        throw DbError(objectName() + QStringLiteral(": Field '") + name + QStringLiteral("' not found"));
    return Field(this, c, m_rows ? m_current : -1);
}

Field Query::Fields(int column) const
{
    if (column < 0 || column >= FieldCount())
        throw DbError(objectName() + QStringLiteral(": List index out of bounds (") + QString::number(column) + ')');
    return Field(this, column, m_rows ? m_current : -1);
}

bool Query::IsNull(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= FieldCount())
        return true;
    const Column &col = *m_columns[size_t(column)];
    const int r = storageRow(row);
    if (col.kind == FieldKind::Any)
        return col.values[size_t(r)].isNull();
    return col.nulls[size_t(r)] != 0;
}

double Query::Number(int row, int column) const
{
    if (IsNull(row, column))
        return 0.0;
    const Column &col = *m_columns[size_t(column)];
    const int r = storageRow(row);
    switch (col.kind) {
    case FieldKind::Number:
    case FieldKind::YesNo:
        return col.numbers[size_t(r)];
    case FieldKind::Any:
        return col.values[size_t(r)].toDouble();
    default: {
        double v = 0;
        return TryStrToFloat(Text(row, column), v) ? v : 0.0;
    }
    }
}

QString Query::Text(int row, int column) const
{
    if (IsNull(row, column))
        return QString();
    const Column &col = *m_columns[size_t(column)];
    const int r = storageRow(row);
    switch (col.kind) {
    case FieldKind::Number:
        return FormatGeneral(col.numbers[size_t(r)]);
    case FieldKind::YesNo:
        return col.numbers[size_t(r)] != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Text:
    case FieldKind::Date:
        return col.textAt(r);
    case FieldKind::Blob:
        return QString::fromLatin1(col.blobs[size_t(r)]);
    case FieldKind::Any:
        return variantText(col.values[size_t(r)]);
    }
    return QString();
}

QVariant Query::Value(int row, int column) const
{
    if (IsNull(row, column))
        return QVariant();
    const Column &col = *m_columns[size_t(column)];
    const int r = storageRow(row);
    switch (col.kind) {
    case FieldKind::Number:
        return col.numbers[size_t(r)];
    case FieldKind::YesNo:
        return col.numbers[size_t(r)] != 0;
    case FieldKind::Text:
    case FieldKind::Date:
        return col.textAt(r);
    case FieldKind::Blob:
        return col.blobs[size_t(r)];
    case FieldKind::Any:
        return col.values[size_t(r)];
    }
    return QVariant();
}

QByteArray Query::Bytes(int row, int column) const
{
    if (IsNull(row, column))
        return QByteArray();
    const Column &col = *m_columns[size_t(column)];
    if (col.kind == FieldKind::Blob)
        return col.blobs[size_t(storageRow(row))];
    return Value(row, column).toByteArray();
}

void Query::SetSort(const QString &sort)
{
    m_sort = sort.trimmed();
    if (!m_active)
        return;
    // The same record stays current when the order changes.
    const int record = m_rows ? storageRow(m_current) : -1;
    applySort();
    if (record >= 0)
        m_current = int(std::find(m_order.begin(), m_order.end(), record) - m_order.begin());
    emit rowsReset();
    emit currentChanged(m_rows ? m_current : -1);
}

void Query::applySort()
{
    m_order.resize(size_t(m_rows));
    for (int i = 0; i < m_rows; ++i)
        m_order[size_t(i)] = i;
    if (m_sort.isEmpty())
        return;
    const QStringList parts = m_sort.split(' ', Qt::SkipEmptyParts);
    const int c = FieldIndex(parts.value(0));
    if (c < 0)
        return;
    const bool desc = parts.size() > 1 && parts[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    const Column &col = *m_columns[size_t(c)];
    auto nullAt = [&](int r) {
        return col.kind == FieldKind::Any ? col.values[size_t(r)].isNull() : col.nulls[size_t(r)] != 0;
    };
    // NULLs come first in ascending order, last in descending, as the old cursor sorted them.
    auto sortBy = [&](auto less) {
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            const bool na = nullAt(a), nb = nullAt(b);
            if (na || nb)
                return desc ? (!na && nb) : (na && !nb);
            return desc ? less(b, a) : less(a, b);
        });
    };
    switch (col.kind) {
    case FieldKind::Number:
    case FieldKind::YesNo:
        sortBy([&](int a, int b) { return col.numbers[size_t(a)] < col.numbers[size_t(b)]; });
        break;
    case FieldKind::Text:
    case FieldKind::Date: {
        // Chinese texts sort by their GBK bytes, which follow pinyin for the common characters.
        QStringEncoder gbk("GBK");
        std::vector<QByteArray> keys(static_cast<size_t>(m_rows));
        for (int r = 0; r < m_rows; ++r)
            keys[size_t(r)] = gbk.encode(col.textAt(r).toLower());
        sortBy([&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
        break;
    }
    case FieldKind::Blob:
        break;
    case FieldKind::Any:
        sortBy([&](int a, int b) {
            return QVariant::compare(col.values[size_t(a)], col.values[size_t(b)]) == QPartialOrdering::Less;
        });
        break;
    }
}

QString Query::sourceTable() const
{
    for (const auto &col : m_columns)
        if (!col->table.isEmpty())
            return col->table;
    return QString();
}

qint64 Query::CurrentKey() const
{
    const int c = FieldIndex(QStringLiteral("ID"));
    if (c < 0 || !m_rows || IsNull(m_current, c))
        return -1;
    return qint64(Number(m_current, c));
}

QByteArray Query::ReadBlob(const QString &field) const
{
    return FieldByName(field).AsBytes();
}

void Query::WriteBlob(const QString &field, const QByteArray &bytes)
{
    const int c = FieldIndex(field);
    if (c < 0)
        throw DbError(objectName() + QStringLiteral(": Field '") + field + QStringLiteral("' not found"));
    Column &col = *m_columns[size_t(c)];
    const qint64 key = CurrentKey();
    const QString table = col.table.isEmpty() ? sourceTable() : col.table;
    if (col.kind != FieldKind::Blob || key < 0 || table.isEmpty())
        throw DbError(objectName() + QStringLiteral(": cannot write the image of this row"));
    sqlite3 *db = m_connection->Handle();
    const QByteArray sql = QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE ID = ?").arg(table, col.origin).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_blob(stmt, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 2, key);
        rc = sqlite3_step(stmt);
    }
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw DbError(error);
    const int r = storageRow(m_current);
    col.blobs[size_t(r)] = bytes;
    col.nulls[size_t(r)] = bytes.isNull();
    emit rowChanged(m_current);
}

// Field

QString Field::FieldName() const
{
    return m_query->FieldName(m_column);
}

FieldKind Field::Kind() const
{
    return m_query->Kind(m_column);
}

bool Field::IsNull() const
{
    return m_query->IsNull(m_row, m_column);
}

QString Field::AsString() const
{
    return m_query->Text(m_row, m_column);
}

double Field::AsFloat() const
{
    if (IsNull())
        return 0.0;
    switch (Kind()) {
    case FieldKind::Number:
    case FieldKind::YesNo:
        return m_query->Number(m_row, m_column);
    case FieldKind::Date:
        return dateNumber(AsDateTime());
    case FieldKind::Any: {
        const QVariant v = Value();
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong)
            return v.toDouble();
        return StrToFloat(v.toString());
    }
    default:
        return StrToFloat(AsString());
    }
}

qint64 Field::AsInteger() const
{
    return qint64(std::llround(AsFloat()));
}

bool Field::AsBoolean() const
{
    if (IsNull())
        return false;
    if (Kind() == FieldKind::Number || Kind() == FieldKind::YesNo)
        return m_query->Number(m_row, m_column) != 0;
    const QString t = AsString().trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && v != 0;
}

QDateTime Field::AsDateTime() const
{
    if (IsNull())
        return QDateTime();
    return parseStoredDate(AsString());
}

QVariant Field::Value() const
{
    return m_query->Value(m_row, m_column);
}

QByteArray Field::AsBytes() const
{
    return m_query->Bytes(m_row, m_column);
}
