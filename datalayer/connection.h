#pragma once
#include <QString>

struct sqlite3;

// The program's fixed database password.
inline const QString kDatabasePassword = QStringLiteral("wdkrp52917046");

// What Open() throws while the connection is held.
inline const QString kConnectionHeldText = QStringLiteral("数据库正在还原，请稍后再试");

// A connection to the encrypted database file (the old ADOConnection).
// Opened on first use; statements are given in the old engine's dialect.
class Connection {
public:
    explicit Connection(const QString &name = QString());
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString name() const { return m_name; }
    void SetDatabase(const QString &path) { m_path = path; }
    QString Database() const { return m_path; }
    void SetPassword(const QString &password) { m_password = password; }
    // Exclusive: no other process can read or write the file while this connection is open.
    void SetExclusive(bool exclusive) { m_exclusive = exclusive; }
    bool Exclusive() const { return m_exclusive; }
    // Read-only: the file is never written, not even to roll back a journal left beside it.
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // While held (a restore swaps the file under it), Open() refuses with kConnectionHeldText
    // instead of opening, so a timer or window that reads in between skips its turn.
    void SetHeld(bool held) { m_held = held; }
    bool Held() const { return m_held; }

    bool Connected() const { return m_db != nullptr; }
    void Open();  // throws DbError with the engine's text
    void Close(); // a no-op when closed
    void EnsureOpen()
    {
        if (!m_db)
            Open();
    }

    // Runs one statement of the old dialect (translated first); result rows are discarded.
    // A text holding a second statement is refused as a whole, before anything runs.
    void Execute(const QString &sql);
    // Runs SQLite text as it stands (schema, pragmas).
    void ExecuteNative(const QString &sql);
    int RowsAffected() const;

    // Two statements that must both happen or neither (a sale and its stock change).
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    QString LastError() const { return m_lastError; }
    void SetLastError(const QString &text) { m_lastError = text; }
    QString EngineError() const; // the engine's current message

    sqlite3 *Handle(); // opens on first use

private:
    void fail(const QString &text);

    QString m_name;
    QString m_path;
    QString m_password = kDatabasePassword;
    bool m_exclusive = false;
    bool m_readOnly = false;
    bool m_held = false;
    sqlite3 *m_db = nullptr;
    QString m_lastError;
};

// Creates a new encrypted database file holding the empty schema; throws DbError.
void CreateDatabaseFile(const QString &path, const QString &password = kDatabasePassword);
