#include "data/state.h"
#include <limits>

QString msg_title;
QString db_mode;
Query list_sql;
QString cur_user;
QString user_rights;
std::array<int, 17> col_w{};

qint16 m_cod_cnt = 0;
qint16 p_cod_cnt = 0;
QString f1_nam, f2_nam, f3_nam, f4_nam, f5_nam, f6_nam;
qint16 max_dat = 0;
qint16 max_cnt = 0;
qint32 haebi = 0;

const QString& f_nam(int i)
{
    static const QString empty;
    switch (i) {
    case 1: return f1_nam;
    case 2: return f2_nam;
    case 3: return f3_nam;
    case 4: return f4_nam;
    case 5: return f5_nam;
    case 6: return f6_nam;
    default: return empty;
    }
}

void fill_col_w()
{
    col_w = {500, 1060, 1200, 1500, 1500, 1500, 2800, 1200, 1400, 2400, 1300, 4000, 0, 0, 0, 1200, 1400};
}

namespace {
// A number field of TB0: an integer (or integral text) within [lo, hi].
bool read_int(int col, qint64 lo, qint64 hi, qint64* out)
{
    const QVariant v = rs.field(col);
    bool ok = false;
    qint64 n = 0;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
        n = v.toLongLong();
        ok = true;
    } else if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        ok = d == double(qint64(d));
        n = qint64(d);
    } else if (v.typeId() == QMetaType::QString) {
        n = v.toString().trimmed().toLongLong(&ok);
    }
    if (!ok || n < lo || n > hi) return false;
    *out = n;
    return true;
}
}

bool load_settings()
{
    list_sql = Query("select * from TB0");
    if (!open_rs(list_sql) || rs.columns() < 11) return false;
    constexpr qint64 s16lo = std::numeric_limits<qint16>::min(), s16hi = std::numeric_limits<qint16>::max();
    constexpr qint64 s32lo = std::numeric_limits<qint32>::min(), s32hi = std::numeric_limits<qint32>::max();
    qint64 v0, v1, v8, v9, v10;
    if (!read_int(0, s16lo, s16hi, &v0) || !read_int(1, s16lo, s16hi, &v1) || !read_int(8, s16lo, s16hi, &v8)
        || !read_int(9, s16lo, s16hi, &v9) || !read_int(10, s32lo, s32hi, &v10))
        return false;
    m_cod_cnt = qint16(v0);
    p_cod_cnt = qint16(v1);
    f1_nam = rs.text(2);
    f2_nam = rs.text(3);
    f3_nam = rs.text(4);
    f4_nam = rs.text(5);
    f5_nam = rs.text(6);
    f6_nam = rs.text(7);
    max_dat = qint16(v8);
    max_cnt = qint16(v9);
    haebi = qint32(v10);
    return true;
}

LoginResult login(const QString& name, const QString& password)
{
    if (!open_db()) return LoginResult::NoConnection;
    if (!load_settings()) return LoginResult::NoSettings;
    // The name compares without case (as stored keys do), the password exactly.
    list_sql = Query("select * from TA2 where nam=? and pas=?", {name, password});
    if (!open_rs(list_sql)) return LoginResult::NoAccount;
    cur_user = rs.text("nam");
    QString rights;
    for (const char* col : {"m_xls", "m_prt", "m_add", "m_edt", "m_del"}) {
        const QVariant v = rs.field(QString::fromLatin1(col));
        const bool granted = !v.isNull() && v.toString().trimmed() == QLatin1String("1");
        rights += granted ? u'1' : u'0';
    }
    user_rights = rights;
    return LoginResult::Ok;
}
