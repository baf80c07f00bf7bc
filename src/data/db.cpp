#include "data/db.h"
#include "data/conpath.h"
#include "data/paths.h"

#include <sqlcipher/sqlite3.h>
#include <QByteArray>
#include <QFileInfo>
#include <QDebug>
#include <sys/stat.h>

namespace {
SqlErrorHandler& error_handler() { static SqlErrorHandler h; return h; }

sqlite3_stmt* prepare(sqlite3* db, const QString& sql, QString* err)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(db, u.constData(), int(u.size()), &st, nullptr) != SQLITE_OK) {
        if (err) *err = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        return nullptr;
    }
    return st;
}

QVariant column_value(sqlite3_stmt* st, int col)
{
    switch (sqlite3_column_type(st, col)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(st, col)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(st, col));
    case SQLITE_NULL: return QVariant();
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(st, col)));
    }
    }
}
} // namespace

void set_sql_error_handler(SqlErrorHandler h) { error_handler() = std::move(h); }

void report_sql_error(const QString& sql, const QString& message)
{
    qWarning().noquote() << "SQL error:" << message << "in:" << sql;
    if (error_handler()) error_handler()(sql, message);
}

bool bind_values(sqlite3_stmt* st, const QVariantList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QVariant& v = args[i];
        int rc;
        if (v.isNull() && v.typeId() != QMetaType::QString) {
            rc = sqlite3_bind_null(st, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int: case QMetaType::LongLong: case QMetaType::Short:
            case QMetaType::UInt: case QMetaType::ULongLong: case QMetaType::Bool:
                rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            case QMetaType::Double: case QMetaType::Float:
                rc = sqlite3_bind_double(st, i + 1, v.toDouble());
                break;
            default: {
                const QByteArray u = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK) return false;
    }
    return true;
}

// ---------------------------------------------------------------- Connection
Connection::~Connection() { close(); }

bool Connection::open(const QString& path, const QString& key, bool create)
{
    close();
    if (!create && !QFileInfo(path).isFile()) return false;
    const QByteArray p = path.toUtf8();
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(p.constData(), &db_, flags, nullptr) != SQLITE_OK) {
        qWarning().noquote() << "cannot open" << path << ":" << (db_ ? sqlite3_errmsg(db_) : "");
        close();
        return false;
    }
    if (!key.isEmpty()) {
        const QByteArray k = key.toUtf8();
        sqlite3_key(db_, k.constData(), int(k.size()));
    }
    sqlite3_busy_timeout(db_, 5000);
    // A wrong key or a file that is no database fails here, on the first read.
    sqlite3_stmt* st = nullptr;
    const char* probe = "SELECT count(*) FROM sqlite_master";
    bool good = sqlite3_prepare_v2(db_, probe, -1, &st, nullptr) == SQLITE_OK
                && sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    if (!good) {
        qWarning().noquote() << "cannot read" << path << ":" << sqlite3_errmsg(db_);
        close();
        return false;
    }
    // Every page read from disk is decrypted and checked; a list that joins
    // members and items reads the same pages over and over, so they are kept
    // decrypted in a larger cache (filled only as pages are read). The handle
    // lives on between lists (open_db), so later lists find them there.
    sqlite3_exec(db_, "PRAGMA cache_size=-131072", nullptr, nullptr, nullptr);
    path_ = path;
    errors_ = 0;
    return true;
}

void Connection::close()
{
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    path_.clear();
}

void Connection::note_error(const QString& sql)
{
    ++errors_;
    report_sql_error(sql, db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("no connection"));
}

int Connection::execute(const Query& q)
{
    if (!db_) { note_error(q.sql); return -1; }
    QString err;
    sqlite3_stmt* st = prepare(db_, q.sql, &err);
    if (!st) { ++errors_; report_sql_error(q.sql, err); return -1; }
    int rc = bind_values(st, q.args) ? sqlite3_step(st) : SQLITE_MISUSE;
    while (rc == SQLITE_ROW) rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) { note_error(q.sql); return -1; }
    return sqlite3_changes(db_);
}

bool Connection::execute_script(const QString& sql)
{
    if (!db_) return false;
    char* msg = nullptr;
    const QByteArray u = sql.toUtf8();
    if (sqlite3_exec(db_, u.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        ++errors_;
        report_sql_error(sql, QString::fromUtf8(msg ? msg : ""));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

QVariant Connection::scalar(const Query& q, bool* failed)
{
    Cursor c(*this, q);
    QVariant v;
    if (c.next()) v = c.value(0);
    if (failed) *failed = !c.ok();
    return v;
}

bool Connection::in_transaction() const { return db_ && !sqlite3_get_autocommit(db_); }
qint64 Connection::last_insert_id() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

// -------------------------------------------------------------------- Cursor
Cursor::Cursor(Connection& c, const Query& q) : con_(c), sql_(q.sql)
{
    if (!c.handle()) { c.note_error(q.sql); return; }
    QString err;
    st_ = prepare(c.handle(), q.sql, &err);
    if (!st_) { c.note_error(q.sql); return; }
    if (!bind_values(st_, q.args)) { c.note_error(q.sql); return; }
    ok_ = true;
}

Cursor::~Cursor() { sqlite3_finalize(st_); }

bool Cursor::next()
{
    if (!ok_) return false;
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) { ok_ = false; con_.note_error(sql_); }
    return false;
}

int Cursor::columns() const { return st_ ? sqlite3_column_count(st_) : 0; }
QString Cursor::name(int col) const { return QString::fromUtf8(sqlite3_column_name(st_, col)); }

const char* Cursor::utf8(int col, int* len) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
    *len = p ? sqlite3_column_bytes(st_, col) : 0;
    return p ? p : "";
}

QString Cursor::text(int col) const
{
    int n = 0;
    const char* p = utf8(col, &n);
    return QString::fromUtf8(p, n);
}

qint64 Cursor::integer(int col) const { return sqlite3_column_int64(st_, col); }
double Cursor::real(int col) const { return sqlite3_column_double(st_, col); }
bool Cursor::is_null(int col) const { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
QVariant Cursor::value(int col) const { return column_value(st_, col); }

// ----------------------------------------------------------------- Statement
Statement::Statement(Connection& c, const QString& sql) : con_(c), sql_(sql)
{
    if (!c.handle()) { c.note_error(sql); return; }
    QString err;
    st_ = prepare(c.handle(), sql, &err);
    if (!st_) c.note_error(sql);
}

Statement::~Statement() { sqlite3_finalize(st_); }

void Statement::bind_utf8(int i, const char* p, int len)
{
    if (st_) sqlite3_bind_text(st_, i, p, len, SQLITE_STATIC);
}

bool Statement::run()
{
    if (!st_) return false;
    int rc = sqlite3_step(st_);
    while (rc == SQLITE_ROW) rc = sqlite3_step(st_);
    if (rc != SQLITE_DONE) con_.note_error(sql_);
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
    return rc == SQLITE_DONE;
}

// ----------------------------------------------------------------- Recordset
bool Recordset::load(Connection& c, const Query& q)
{
    clear();
    Cursor cur(c, q);
    if (!cur.ok()) { failed_ = true; return false; }
    ncols_ = cur.columns();
    for (int i = 0; i < ncols_; ++i) names_ << cur.name(i);
    while (cur.next())
        for (int i = 0; i < ncols_; ++i) cells_.push_back(cur.value(i));
    failed_ = !cur.ok();
    open_ = true;
    return !eof();
}

void Recordset::clear()
{
    names_.clear();
    cells_.clear();
    ncols_ = 0;
    pos_ = 0;
    open_ = false;
    failed_ = false;
}

int Recordset::index_of(const QString& name) const
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Recordset::field(int col) const
{
    if (eof() || col < 0 || col >= ncols_) return {};
    return cells_[size_t(pos_) * ncols_ + col];
}

QString Recordset::text(int col) const
{
    const QVariant v = field(col);
    return v.isNull() ? QString() : v.toString();
}

qint64 Recordset::num(int col) const { return field(col).toLongLong(); }

// --------------------------------------------------------------- Transaction
Transaction::Transaction(Connection& c) : con_(c)
{
    ok_ = c.is_open() && c.execute(Query("BEGIN IMMEDIATE")) >= 0;
    done_ = !ok_;
}

Transaction::~Transaction()
{
    if (!done_) rollback();
}

int Transaction::exec(const Query& q)
{
    if (!ok_ || done_) return -1;
    const int n = con_.execute(q);
    if (n < 0) ok_ = false;
    return n;
}

bool Transaction::commit()
{
    if (done_) return false;
    if (!ok_) { rollback(); return false; }
    done_ = true;
    if (con_.execute(Query("COMMIT")) < 0) {
        if (con_.in_transaction()) con_.execute(Query("ROLLBACK"));
        return false;
    }
    return true;
}

void Transaction::rollback()
{
    if (done_) return;
    done_ = true;
    ok_ = false;
    if (con_.in_transaction()) con_.execute(Query("ROLLBACK"));
}

// ------------------------------------------------------ shared connection
std::unique_ptr<Connection> db_con;
Recordset rs;

QString db_password() { return QStringLiteral("hkt_47"); }

namespace {
struct FileId { QString path; dev_t dev = 0; ino_t ino = 0; };
FileId& open_file() { static FileId f; return f; }

bool file_id(const QString& path, FileId* id)
{
    struct stat sb;
    if (::stat(path.toLocal8Bit().constData(), &sb) != 0 || !S_ISREG(sb.st_mode)) return false;
    id->path = path;
    id->dev = sb.st_dev;
    id->ino = sb.st_ino;
    return true;
}
}

bool open_db()
{
    QString folder;
    FileId id;
    if (!database_folder(&folder) || !file_id(folder + QStringLiteral("/PGM.mdb"), &id)) {
        close_db();
        return false;
    }
    // Keying a database costs a key derivation; the same file keeps its
    // handle, handed back as a fresh connection (no transaction, no errors).
    const FileId& cur = open_file();
    if (db_con && db_con->is_open() && cur.path == id.path && cur.dev == id.dev && cur.ino == id.ino) {
        if (db_con->in_transaction()) db_con->execute(Query("ROLLBACK"));
        db_con->clear_errors();
        return true;
    }
    close_db();
    db_con = std::make_unique<Connection>();
    if (!db_con->open(id.path, db_password())) return false;
    open_file() = id;
    return true;
}

void close_db()
{
    if (db_con) db_con->close();
    open_file() = FileId();
}

bool open_rs(const Query& q)
{
    if (!db_con) db_con = std::make_unique<Connection>();
    return rs.load(*db_con, q);
}

void close_rs() { rs.clear(); }

Connection& con()
{
    if (!db_con || !db_con->is_open()) open_db();
    if (!db_con) db_con = std::make_unique<Connection>();
    return *db_con;
}

Connection& shared_con()
{
    if (!db_con) db_con = std::make_unique<Connection>();
    return *db_con;
}

Lookup lookup(Connection& c, const Query& q)
{
    Cursor cur(c, q);
    const bool row = cur.next();
    if (!cur.ok()) return Lookup::Failed;
    return row ? Lookup::Found : Lookup::None;
}
