#include "admin/settings.h"
#include "data/amounts.h"
#include "data/conpath.h"
#include "data/db.h"
#include "data/paths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <limits>

ConpathView load_conpath_view()
{
    ConpathView v;
    QString joined;
    if (!read_conpath(&joined)) return v;
    v.found = true;
    if (joined.trimmed().isEmpty()) return v;
    v.server = joined.startsWith(u'S');
    v.folder = joined.mid(1);
    return v;
}

ConpathSave save_conpath(bool server, const QString& folder)
{
    if (!QFileInfo::exists(program_dir() + QStringLiteral("/CONPATH.txt"))) return ConpathSave::NoFile;
    const QString line = (server ? QStringLiteral("S") : QStringLiteral("C")) + folder + QStringLiteral("\r\n");
    return write_conpath(line) ? ConpathSave::Ok : ConpathSave::WriteFailed;
}

namespace {
QString field_text(int col, bool grouped)
{
    const QVariant v = rs.field(col);
    if (!v.isValid() || v.isNull()) return QString();
    if (!grouped) return v.toString();
    qint64 n = 0;
    if (parse_whole(v.toString(), &n)) return amount_text(n);
    return v.toString();
}
}

bool read_settings_text(SettingsText* t)
{
    if (!open_rs(Query("select * from TB0")) || rs.columns() < 11) return false;
    t->v[F_M_COD_CNT] = field_text(0, true);
    t->v[F_P_COD_CNT] = field_text(1, true);
    for (int i = 0; i < 6; ++i) t->v[F_F1_NAM + i] = field_text(2 + i, false);
    t->v[F_MAX_DAT] = field_text(8, true);
    t->v[F_MAX_CNT] = field_text(9, true);
    t->v[F_HAEBI] = field_text(10, true);
    return true;
}

bool parse_whole(const QString& text, qint64* out)
{
    QString s = text.trimmed();
    s.remove(u',');
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(s).hasMatch()) return false;
    // Whole digits beyond fifteen would lose their last digits in a double.
    const qsizetype dot = s.indexOf(u'.');
    QString whole = dot < 0 ? s : s.left(dot);
    whole.remove(u'+');
    whole.remove(u'-');
    while (whole.size() > 1 && whole.front() == u'0') whole.remove(0, 1);
    if (whole.size() > 15) return false;
    bool ok = false;
    const double d = s.toDouble(&ok);
    if (!ok) return false;
    *out = std::llround(d);
    return true;
}

QString group_while_typing(const QString& text)
{
    qint64 n = 0;
    return parse_whole(text, &n) ? amount_text(n) : text;
}

QString check_settings(const SettingsText* t, SettingsValues* v, int* bad)
{
    constexpr qint64 s16 = std::numeric_limits<qint16>::max();
    constexpr qint64 s32 = std::numeric_limits<qint32>::max();

    struct Rule { int field; qint64 lo, hi; qint64* dst; const char* msg; };
    const Rule first[] = {
        {F_P_COD_CNT, 1, s16, &v->p_cod_cnt, "바코드자리수가 올바르지 않습니다!"},
        {F_M_COD_CNT, 1, s16, &v->m_cod_cnt, "회원코드자리수가 올바르지 않습니다!"},
        {F_HAEBI, 1, s32, &v->haebi, "연회비가 올바르지 않습니다!"},
    };
    const Rule last[] = {
        {F_MAX_DAT, 0, s16, &v->max_dat, "최대대여기간이 올바르지 않습니다!"},
        {F_MAX_CNT, 0, s16, &v->max_cnt, "최대대여수량이 올바르지 않습니다!"},
    };
    auto apply = [&](const Rule& r) -> bool {
        qint64 n = 0;
        if (!parse_whole(t->v[r.field], &n) || n < r.lo || n > r.hi) {
            *bad = r.field;
            return false;
        }
        *r.dst = n;
        return true;
    };
    for (const Rule& r : first)
        if (!apply(r)) return QString::fromUtf8(r.msg);
    for (int i = 0; i < 6; ++i) {
        if (t->v[F_F1_NAM + i].isEmpty()) {
            *bad = F_F1_NAM + i;
            return QStringLiteral("데이터 항목을 표시할 명칭(%1)이 비어 있습니다!").arg(i + 1);
        }
        v->f_nam[i] = t->v[F_F1_NAM + i];
    }
    for (const Rule& r : last)
        if (!apply(r)) return QString::fromUtf8(r.msg);
    *bad = -1;
    return QString();
}

bool write_settings(const SettingsValues& v)
{
    Transaction tx(con());
    const int n = tx.exec(Query("update TB0 set m_cod_cnt=?,p_cod_cnt=?,f1_nam=?,f2_nam=?,f3_nam=?,f4_nam=?,"
                                "f5_nam=?,f6_nam=?,max_dat=?,max_cnt=?,haebi=?",
                                {v.m_cod_cnt, v.p_cod_cnt, v.f_nam[0], v.f_nam[1], v.f_nam[2], v.f_nam[3],
                                 v.f_nam[4], v.f_nam[5], v.max_dat, v.max_cnt, v.haebi}));
    // The table holds one row; a save that found none stored nothing.
    if (n < 1) return false;
    return tx.commit();
}
