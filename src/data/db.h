#pragma once
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A query: SQL text with '?' placeholders and the values bound to them.
// Every value that enters SQL travels as a bound value, never as text.
struct Query {
    QString sql;
    QVariantList args;
    Query() = default;
    Query(const QString& s, QVariantList a = {}) : sql(s), args(std::move(a)) {}
    Query(const char* s, QVariantList a = {}) : sql(QString::fromUtf8(s)), args(std::move(a)) {}
    bool isEmpty() const { return sql.isEmpty(); }
};

// Every SQL error is logged with its statement and passed to the handler
// (tests install one that fails on an unexpected error).
using SqlErrorHandler = std::function<void(const QString& sql, const QString& message)>;
void set_sql_error_handler(SqlErrorHandler h);
void report_sql_error(const QString& sql, const QString& message);

// One database connection over SQLCipher.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file only; key empty for a plain database.
    bool open(const QString& path, const QString& key, bool create = false);
    void close();
    bool is_open() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    // Runs one statement; the number of changed rows, or -1 on an error
    // (logged, and counted in error_count()).
    int execute(const Query& q);
    // Runs several ';'-separated statements without values (schema work).
    bool execute_script(const QString& sql);
    // First column of the first row; an invalid QVariant when no row or on error.
    QVariant scalar(const Query& q, bool* failed = nullptr);

    int error_count() const { return errors_; }
    void clear_errors() { errors_ = 0; }
    void note_error(const QString& sql);

    bool in_transaction() const;
    qint64 last_insert_id() const;

private:
    sqlite3* db_ = nullptr;
    QString path_;
    int errors_ = 0;
};

// Prepared statement stepped row by row; the list loaders read the UTF-8
// bytes straight into their grids.
class Cursor {
public:
    Cursor(Connection& c, const Query& q);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    bool ok() const { return ok_; }      // prepared and no step failed
    bool next();                         // false at the end or on an error
    int columns() const;
    QString name(int col) const;
    const char* utf8(int col, int* len) const;  // never null
    QString text(int col) const;         // Null reads as ''
    qint64 integer(int col) const;
    double real(int col) const;
    bool is_null(int col) const;
    QVariant value(int col) const;

private:
    Connection& con_;
    QString sql_;
    sqlite3_stmt* st_ = nullptr;
    bool ok_ = false;
};

bool bind_values(sqlite3_stmt* st, const QVariantList& args);

// A statement prepared once and run many times with new values (bulk
// inserts): bind the values of one run, then run() steps it to the end and
// makes it ready for the next.
class Statement {
public:
    Statement(Connection& c, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return st_ != nullptr; }
    // Value i (from 1) as text; the bytes must live until run().
    void bind_utf8(int i, const char* p, int len);
    // False on an error (logged with the statement).
    bool run();

private:
    Connection& con_;
    QString sql_;
    sqlite3_stmt* st_ = nullptr;
};

// A static, read-only result: every row copied out, walked with move_next.
class Recordset {
public:
    bool load(Connection& c, const Query& q);   // true when it holds rows
    void clear();
    bool is_open() const { return open_; }
    bool eof() const { return pos_ >= rows(); }
    void move_next() { ++pos_; }
    void move_first() { pos_ = 0; }
    int rows() const { return ncols_ ? int(cells_.size() / ncols_) : 0; }
    int record_count() const { return rows(); }
    int columns() const { return ncols_; }
    int position() const { return pos_; }
    int index_of(const QString& name) const;
    // Current row's field; Null and a missing field read as an invalid QVariant.
    QVariant field(int col) const;
    QVariant field(const QString& name) const { return field(index_of(name)); }
    QString text(int col) const;                 // Null -> ''
    QString text(const QString& name) const { return text(index_of(name)); }
    qint64 num(int col) const;                   // Null or text -> 0
    qint64 num(const QString& name) const { return num(index_of(name)); }
    bool failed() const { return failed_; }      // the query itself failed

private:
    QStringList names_;
    std::vector<QVariant> cells_;
    int ncols_ = 0;
    int pos_ = 0;
    bool open_ = false;
    bool failed_ = false;
};

// Writes that belong together: BEGIN IMMEDIATE, explicit commit, rollback
// when the guard goes out of scope uncommitted.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool ok() const { return ok_; }
    // Changed rows, or -1 on an error (the guard is then spoilt: commit fails).
    int exec(const Query& q);
    bool commit();
    void rollback();

private:
    Connection& con_;
    bool ok_ = false;
    bool done_ = false;
};

// ---- The shared connection and recordset of the program ----
extern std::unique_ptr<Connection> db_con;
extern Recordset rs;

// The database password of PGM.mdb, compiled in; the database's own key.
QString db_password();

// (Re)opens db_con on PGM.mdb of the folder named in CONPATH.txt. Never
// creates a file; false on a missing CONPATH.txt or database, a wrong key.
bool open_db();
void close_db();
// Runs a query into rs: true when it holds at least one row.
bool open_rs(const Query& q);
void close_rs();

// db_con, opened when needed; for code that only reads.
Connection& con();
// db_con as it is, made (not opened) when missing; for code whose screen
// opened the database just before.
Connection& shared_con();

// Outcome of a check query: a row found, none, or the query itself failed
// (a failed check stops the action; it is never read as "nothing found").
enum class Lookup { None, Found, Failed };
Lookup lookup(Connection& c, const Query& q);

// Outcome of deleting a member or an item: done; refused, nothing changed,
// because rental rows of it stood at the moment of deletion (one may have
// been registered at another desk since the history check); or failed.
enum class Deletion { Done, History, Failed };
