#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class Connection;
class Query;

// How a result column holds its values, from the declared type of its table column.
enum class FieldKind { Number, Text, Date, YesNo, Blob, Any };

// One field of the current row (the old TField): read-only access by type.
class Field {
public:
    Field(const Query *query, int column, int row) : m_query(query), m_column(column), m_row(row) {}
    QString FieldName() const;
    FieldKind Kind() const;
    bool IsNull() const;
    // The general number format for numbers, empty for NULL, True/False for yes/no.
    QString AsString() const;
    // NULL gives 0; a text that is not a number raises the conversion error.
    double AsFloat() const;
    qint64 AsInteger() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    QVariant Value() const;
    QByteArray AsBytes() const;

private:
    const Query *m_query;
    int m_column;
    int m_row;
};

// A client-side dataset (the old ADOQuery): the whole result is fetched into memory,
// sorted there, and addressed by a current row.
class Query : public QObject {
    Q_OBJECT
public:
    Query(Connection *connection, const QString &name, QObject *parent = nullptr);
    ~Query() override;

    Connection *connection() const { return m_connection; }
    void SetConnection(Connection *connection) { m_connection = connection; }

    void Close();
    // A new statement drops the in-memory sort; Requery keeps both.
    void ClearSQL() { SetSQL(QString()); }
    void SetSQL(const QString &sql)
    {
        if (sql != m_sql)
            m_sort.clear();
        m_sql = sql;
    }
    void AddSQL(const QString &line) { SetSQL(m_sql.isEmpty() ? line : m_sql + ' ' + line); }
    QString SQL() const { return m_sql; }
    void Open();    // throws DbError; runs the statement of the old dialect
    void Requery(); // runs the same statement again, keeping the order; the first row is current
    // Closes, sets the statement and opens: an open query then shows the new statement's rows
    // (Open alone leaves an open query as it is). The same statement keeps the in-memory sort,
    // another drops it; a statement that fails leaves the query closed.
    void Reopen(const QString &sql);
    bool Active() const { return m_active; }

    int RecordCount() const { return m_rows; }
    bool IsEmpty() const { return m_rows == 0; }
    int RecNo() const { return m_rows ? m_current + 1 : 0; } // 1-based, 0 when empty
    void SetRecNo(int recNo);
    void First() { SetRecNo(1); }
    void Last() { SetRecNo(m_rows); }
    void Next();
    void Prior();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }

    int FieldCount() const { return int(m_columns.size()); }
    QString FieldName(int column) const;
    FieldKind Kind(int column) const;
    int FieldIndex(const QString &name) const; // -1 when absent; names are case-insensitive
    Field FieldByName(const QString &name) const; // throws DbError when absent
    Field Fields(int column) const;
    Field Cell(int row, int column) const { return Field(this, column, row); } // row in sort order

    // Cell access in the current sort order, for models and sums.
    bool IsNull(int row, int column) const;
    double Number(int row, int column) const; // NULL and texts give 0
    QString Text(int row, int column) const;   // as Field::AsString
    QVariant Value(int row, int column) const;
    QByteArray Bytes(int row, int column) const;

    // In-memory sort: "col ASC", "col DESC" or empty for the statement's own order.
    void SetSort(const QString &sort);
    QString Sort() const { return m_sort; }

    // Image columns, read and written through the dataset, never through SQL text.
    QByteArray ReadBlob(const QString &field) const;
    void WriteBlob(const QString &field, const QByteArray &bytes); // throws DbError

    // The key (column ID) of the current row, or -1.
    qint64 CurrentKey() const;

signals:
    void rowsReset();                    // opened, closed, requeried or re-sorted
    void currentChanged(int row);        // the current row moved (0-based, -1 none)
    void rowChanged(int row);            // one row's values changed in place

private:
    friend class Field;
    struct Column;
    int storageRow(int row) const { return m_order[size_t(row)]; }
    void fetch();
    void applySort();
    void setCurrent(int row);
    QString sourceTable() const;

    Connection *m_connection;
    QString m_sql;
    QString m_sort;
    bool m_active = false;
    int m_rows = 0;
    int m_current = 0;
    bool m_eof = true;
    bool m_bof = true;
    std::vector<std::unique_ptr<Column>> m_columns;
    std::vector<int> m_order; // sort order -> storage row
};
