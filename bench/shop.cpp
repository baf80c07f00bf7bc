// Generates the big shop: 50,000 members with their annual periods, 200,000
// items in 30 categories and 2,000,000 rentals over eight years ending today,
// consistent with the rules the counter keeps (an item that is out is marked
// rented, nobody holds more than the limit, unpaid fees stay unpaid).
// Deterministic: a fixed seed and the last day decide every value.
#include "shop.h"
#include "data/db.h"
#include "data/schema.h"

#include <sqlcipher/sqlite3.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kMembers = 50000;
constexpr int kItems = 200000;
constexpr int kRentals = 2000000;
constexpr int kYears = 8;
constexpr uint64_t kSeed = 0x70525649534bULL;

struct Rng {
    uint64_t s;
    uint64_t next()
    {
        uint64_t z = (s += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return uint32_t(((next() >> 32) * n) >> 32); }
    bool chance(uint32_t per_mille) { return below(1000) < per_mille; }
    template <size_t N> const char* pick(const char* const (&a)[N]) { return a[below(uint32_t(N))]; }
};

const char* const kFamily[] = {"김", "이", "박", "최", "정", "강", "조", "윤", "장", "임",
                               "한", "오", "서", "신", "권", "황", "안", "송", "류", "홍"};
const char* const kGiven[] = {"민", "준", "서", "연", "지", "우", "현", "수", "예", "은", "하", "윤", "도", "시",
                              "아", "진", "영", "재", "호", "성", "유", "경", "미", "정", "훈", "혜", "나", "다",
                              "승", "태", "주", "희", "건", "빈", "원", "석", "찬", "규", "린", "솔"};
const char* const kCity[] = {"서울시", "부산시", "대구시", "인천시", "광주시", "대전시", "수원시", "성남시"};
const char* const kDistrict[] = {"중구", "동구", "서구", "남구", "북구", "강남구", "해운대구", "수성구", "연수구", "유성구"};
const char* const kRoad[] = {"중앙로", "시장길", "공원로", "학교길", "역전로", "새마을로"};
const char* const kCategory[] = {
    "액션DVD", "드라마DVD", "코미디DVD", "애니DVD", "다큐DVD", "공포DVD", "SF블루레이", "액션블루레이",
    "가족블루레이", "음악CD", "클래식CD", "순정만화", "소년만화", "무협만화", "학습만화", "장편소설",
    "단편소설", "추리소설", "판타지소설", "무협소설", "에세이", "여행서적", "요리서적", "잡지",
    "PC게임", "콘솔게임", "보드게임", "유아도서", "외국도서", "기타"};
const char* const kFormat[] = {"DVD", "블루레이", "단행본", "전집", "CD", "게임팩"};
const char* const kAdj[] = {"푸른", "작은", "마지막", "붉은", "조용한", "먼", "뜨거운", "하얀", "검은", "오래된",
                            "새로운", "슬픈", "즐거운", "비밀의", "잃어버린", "달빛", "별빛", "겨울", "여름", "봄날의"};
const char* const kNoun[] = {"바다", "도시", "여행", "전쟁", "사랑", "기억", "약속", "정원", "기차", "하늘",
                             "바람", "그림자", "편지", "노래", "섬", "숲", "강", "집", "왕국", "탐정"};
const char* const kMaker[] = {"한빛미디어", "대원", "서울문화사", "학산", "CJ엔터", "쇼박스", "넥슨", "스마일게이트",
                              "민음사", "창비"};
const char* const kClerk[] = {"ADMIN", "KIM", "LEE", "PARK"};

std::string digits(long v, int width)
{
    std::string s = std::to_string(v);
    return std::string(size_t(std::max(0, width - int(s.size()))), '0') + s;
}

// One prepared insert; text is bound as static (the caller keeps it alive
// until run()).
class Insert {
public:
    Insert(sqlite3* db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) != SQLITE_OK) st_ = nullptr;
    }
    ~Insert() { sqlite3_finalize(st_); }
    bool ok() const { return st_ != nullptr; }
    Insert& t(int i, const std::string& s)
    {
        sqlite3_bind_text(st_, i, s.data(), int(s.size()), SQLITE_STATIC);
        return *this;
    }
    Insert& t(int i, const char* s)
    {
        sqlite3_bind_text(st_, i, s, -1, SQLITE_STATIC);
        return *this;
    }
    Insert& n(int i, qint64 v)
    {
        sqlite3_bind_int64(st_, i, v);
        return *this;
    }
    bool run()
    {
        const int rc = sqlite3_step(st_);
        sqlite3_reset(st_);
        if (rc != SQLITE_DONE && error_.empty()) error_ = sqlite3_errmsg(db_);
        return rc == SQLITE_DONE;
    }
    const std::string& error() const { return error_; }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
    std::string error_;
};

bool exec(sqlite3* db, const std::string& sql, QString* error)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) == SQLITE_OK) return true;
    if (error) *error = QStringLiteral("%1: %2").arg(QString::fromStdString(sql), QString::fromUtf8(msg ? msg : ""));
    sqlite3_free(msg);
    return false;
}

struct Generator {
    sqlite3* db = nullptr;
    QDate end;
    int max_dat = 3, max_cnt = 5;
    qint64 haebi = 30000;
    Rng rng{kSeed};
    ShopInfo* info = nullptr;

    // Day numbers are Julian days; their texts come from one table.
    qint64 base_jd = 0;
    std::vector<std::string> day_text;
    const std::string& day(qint64 jd) const { return day_text[size_t(jd - base_jd)]; }

    bool run(QString* error);
};

bool Generator::run(QString* error)
{
    const qint64 end_jd = end.toJulianDay();
    const qint64 start_jd = end.addYears(-kYears).toJulianDay() + 1;
    const int days = int(end_jd - start_jd + 1);
    base_jd = start_jd - 800;
    for (qint64 jd = base_jd; jd <= end_jd + 800; ++jd)
        day_text.push_back(QDate::fromJulianDay(jd).toString(QStringLiteral("yyyy-MM-dd")).toStdString());
    const std::string empty;

    // ---- members: a fifth joined before the eight years, the rest spread over them
    std::vector<std::string> m_cod(kMembers);
    std::vector<qint64> m_join(kMembers);
    std::vector<char> m_kind(kMembers);
    std::vector<int> m_open(kMembers, 0);
    std::vector<char> m_unpaid(kMembers, 0);
    const int early = kMembers / 5;
    for (int i = 0; i < kMembers; ++i) {
        m_cod[size_t(i)] = "M" + digits(i + 1, 5);
        m_join[size_t(i)] = i < early ? start_jd - 730 + qint64(i) * 730 / early
                                      : start_jd + qint64(i - early) * (days - 1) / (kMembers - early);
        m_kind[size_t(i)] = rng.chance(700) ? 'A' : 'B';
    }

    // ---- items
    std::vector<std::string> p_cod(kItems);
    std::vector<int> p_dae(kItems), p_yun(kItems);
    std::vector<qint64> p_free(kItems, 0);
    const int dae_steps[] = {1000, 1500, 2000, 3000};
    for (int i = 0; i < kItems; ++i) {
        p_cod[size_t(i)] = "P" + digits(i + 1, 7);
        p_dae[size_t(i)] = dae_steps[rng.below(4)];
        p_yun[size_t(i)] = rng.chance(600) ? 500 : 1000;
    }

    // ---- closing runs: the last day of each month up to two months back
    std::vector<qint64> closings;
    for (QDate m = QDate::fromJulianDay(start_jd); ; m = m.addMonths(1)) {
        const QDate last(m.year(), m.month(), m.daysInMonth());
        if (last.toJulianDay() >= QDate(end.year(), end.month(), 1).addMonths(-1).toJulianDay()) break;
        closings.push_back(last.toJulianDay());
    }
    const qint64 closed_to = closings.empty() ? 0 : closings.back();

    // ---- rentals, day by day: weekends busier, business growing over the years
    std::vector<double> cum(size_t(days) + 1, 0.0);
    for (int d = 0; d < days; ++d) {
        const int dow = QDate::fromJulianDay(start_jd + d).dayOfWeek();
        const double w = (dow >= 6 ? 1.5 : dow == 5 ? 1.2 : 1.0) * (0.8 + 0.4 * d / days);
        cum[size_t(d) + 1] = cum[size_t(d)] + w;
    }
    Insert tc1(db, "INSERT INTO TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big,"
                   "mgm,ccc) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    if (!tc1.ok()) { *error = QString::fromUtf8(sqlite3_errmsg(db)); return false; }
    int joined = 0;
    qint64 written = 0;
    for (int d = 0; d < days; ++d) {
        const qint64 jd = start_jd + d;
        while (joined < kMembers && m_join[size_t(joined)] <= jd) ++joined;
        const qint64 want = qint64(double(kRentals) * cum[size_t(d) + 1] / cum[size_t(days)] + 0.5);
        const qint64 n = d == days - 1 ? kRentals - written : want - written;
        for (qint64 k = 0; k < n; ++k) {
            // the item: one that is in the shop on this day
            int item = int(rng.below(kItems));
            for (int tries = 0; p_free[size_t(item)] > jd && tries < 50; ++tries) item = int(rng.below(kItems));
            if (p_free[size_t(item)] > jd) continue;
            // due date, extensions, the day it comes back (INT_MAX: never)
            qint64 due = jd + max_dat;
            int ccc = 0;
            if (rng.chance(30)) { ccc = 1; due += max_dat; }
            const uint32_t u = rng.below(1000);
            qint64 back = u < 700 ? jd + 1 + rng.below(uint32_t(due - jd))
                        : u < 950 ? due + 1 + rng.below(10)
                        : u < 999 ? due + 11 + rng.below(50)
                                  : INT_MAX;   // lost
            // the member: one who joined by then, below the limit when it stays out
            int m = int(rng.below(uint32_t(std::max(joined, 1))));
            if (back > end_jd) {
                for (int tries = 0; m_open[size_t(m)] >= max_cnt && tries < 20; ++tries)
                    m = int(rng.below(uint32_t(std::max(joined, 1))));
                if (m_open[size_t(m)] >= max_cnt) back = end_jd;
            }
            const bool out = back > end_jd;
            const bool recent = end_jd - jd < 365;
            const bool regular = m_kind[size_t(m)] == 'A';
            const qint64 dae = regular ? 0 : p_dae[size_t(item)];
            const char* dae_chk = dae == 0 ? "Y" : rng.chance(recent ? 30 : 3) ? "N" : "Y";
            qint64 yun = 0;
            const char* yun_chk = "N";
            if (!out) {
                yun = std::max<qint64>(0, back - due) * p_yun[size_t(item)];
                yun_chk = yun == 0 ? "Y" : rng.chance(recent ? 60 : 5) ? "N" : "Y";
            }
            if (dae_chk[0] == 'N' || (!out && yun_chk[0] == 'N')) m_unpaid[size_t(m)] = 1;
            if (out) {
                ++m_open[size_t(m)];
                ++info->out;
                if (due < end_jd) ++info->overdue;
                p_free[size_t(item)] = LLONG_MAX;
            } else {
                p_free[size_t(item)] = back;
            }
            tc1.t(1, day(jd)).t(2, day(due)).t(3, out ? empty : day(back)).t(4, m_cod[size_t(m)])
                .t(5, p_cod[size_t(item)]).n(6, dae).n(7, yun).t(8, dae_chk).t(9, yun_chk)
                .t(10, rng.pick(kClerk)).t(11, out ? "" : rng.pick(kClerk)).t(12, rng.chance(5) ? "전화예약" : "")
                .t(13, jd <= closed_to ? "Y" : "N").n(14, ccc);
            if (!tc1.run()) { *error = QString::fromStdString(tc1.error()); return false; }
            ++written;
        }
        written = std::max(written, want);   // a skipped rental does not shift the days after it
    }
    info->rentals = qint64(sqlite3_last_insert_rowid(db));

    // ---- members and their periods
    Insert tb1(db, "INSERT INTO TB1 VALUES (?,?,?,?,?,?,?,?,?)");
    Insert tb1_1(db, "INSERT INTO TB1_1(cod,s_dat,e_dat,mon,chm) VALUES (?,?,?,?,?)");
    for (int i = 0; i < kMembers; ++i) {
        const std::string nam = std::string(rng.pick(kFamily)) + rng.pick(kGiven) + rng.pick(kGiven);
        const std::string tel = "0" + std::to_string(2 + rng.below(60)) + "-" + std::to_string(200 + rng.below(800))
                                + "-" + digits(rng.below(10000), 4);
        const std::string phn = "010-" + digits(rng.below(10000), 4) + "-" + digits(rng.below(10000), 4);
        const std::string adr = std::string(rng.pick(kCity)) + " " + rng.pick(kDistrict) + " " + rng.pick(kRoad) + " "
                                + std::to_string(1 + rng.below(300)) + "번길 " + std::to_string(1 + rng.below(99));
        const bool quiet = m_open[size_t(i)] == 0 && !m_unpaid[size_t(i)] && rng.chance(30);
        const std::string kind(1, m_kind[size_t(i)]);
        tb1.t(1, quiet ? "N" : "Y").t(2, kind).t(3, day(m_join[size_t(i)])).t(4, m_cod[size_t(i)]).t(5, nam)
            .t(6, tel).t(7, phn).t(8, adr).t(9, rng.chance(20) ? "단골" : "");
        if (!tb1.run()) { *error = QString::fromStdString(tb1.error()); return false; }
        ++info->members;
        if (kind != "A") continue;
        // 365-day periods from joining; some stop renewing, some owe the newest
        const int stop_after = rng.chance(150) ? 1 + int(rng.below(6)) : INT_MAX;
        const bool owes = rng.chance(100);
        int k = 0;
        for (qint64 s = m_join[size_t(i)]; s <= end_jd && k < stop_after; s += 365, ++k) {
            const bool newest = s + 365 > end_jd || k + 1 == stop_after;
            tb1_1.t(1, m_cod[size_t(i)]).t(2, day(s)).t(3, day(s + 365)).n(4, newest && owes ? 0 : haebi).t(5, "");
            if (!tb1_1.run()) { *error = QString::fromStdString(tb1_1.error()); return false; }
            ++info->periods;
        }
    }

    // ---- categories and items
    Insert tb2(db, "INSERT INTO TB2 VALUES (?,?)");
    for (const char* c : kCategory) {
        tb2.t(1, c).t(2, "");
        if (!tb2.run()) { *error = QString::fromStdString(tb2.error()); return false; }
    }
    Insert tb4(db, "INSERT INTO TB4 VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < kItems; ++i) {
        const bool out = p_free[size_t(i)] == LLONG_MAX;
        const int cat = int(rng.below(30));
        const std::string title = std::string(rng.pick(kAdj)) + " " + rng.pick(kNoun) + " " + std::to_string(1 + rng.below(40));
        tb4.t(1, !out && rng.chance(10) ? "N" : "Y").t(2, out ? "Y" : "N").t(3, kCategory[cat]).t(4, p_cod[size_t(i)])
            .t(5, title).t(6, kFormat[cat % 6]).t(7, rng.pick(kMaker)).t(8, rng.chance(100) ? "신간" : "")
            .t(9, "").t(10, "").n(11, p_dae[size_t(i)]).n(12, p_yun[size_t(i)]).t(13, "");
        if (!tb4.run()) { *error = QString::fromStdString(tb4.error()); return false; }
        ++info->items;
    }

    Insert ta3(db, "INSERT INTO TA3 VALUES (?,?)");
    for (qint64 c : closings) {
        ta3.t(1, day(c)).t(2, "");
        if (!ta3.run()) { *error = QString::fromStdString(ta3.error()); return false; }
    }
    return true;
}

bool generate(const QString& folder, const QDate& end, ShopInfo* info, QString* error)
{
    QDir(folder).removeRecursively();
    if (!write_program_folder(folder, error)) return false;
    Connection c;
    const QString pgm = folder + QStringLiteral("/PGM.mdb");
    if (!c.open(pgm, db_password())) {
        *error = QStringLiteral("cannot open %1").arg(pgm);
        return false;
    }
    sqlite3* db = c.handle();
    if (!exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF; PRAGMA cache_size=-400000; "
                  "PRAGMA temp_store=MEMORY",
              error))
        return false;

    // The settings the counter works with.
    Generator g;
    g.db = db;
    g.end = end;
    g.info = info;
    {
        Recordset r;
        if (r.load(c, Query("SELECT max_dat, max_cnt, haebi FROM TB0"))) {
            g.max_dat = int(r.num(0));
            g.max_cnt = int(r.num(1));
            g.haebi = r.num(2);
        }
    }

    // The indexes are built after the rows: one sort each instead of
    // two million random inserts.
    std::vector<std::string> indexes;
    {
        Cursor cur(c, Query("SELECT name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL"));
        std::vector<std::string> names;
        while (cur.next()) {
            names.push_back(cur.text(0).toStdString());
            indexes.push_back(cur.text(1).toStdString());
        }
        for (const std::string& n : names)
            if (!exec(db, "DROP INDEX " + n, error)) return false;
    }
    if (!exec(db, "BEGIN", error)) return false;
    if (!g.run(error)) {
        exec(db, "ROLLBACK", nullptr);
        return false;
    }
    for (const std::string& sql : indexes)
        if (!exec(db, sql, error)) return false;
    if (!exec(db, "COMMIT", error)) return false;

    // The counter's rules hold: every item out is marked rented and out once,
    // nobody holds more than the limit.
    const struct { const char* sql; qint64 want; } checks[] = {
        {"select (select count(*) from TC1 where e_dat='') - (select count(*) from TB4 where sta='Y')", 0},
        {"select count(*) from TC1 z where e_dat='' and not exists "
         "(select 1 from TB4 p where p.cod=z.p_cod and p.sta='Y' and p.act='Y')", 0},
        {"select count(*) from (select p_cod from TC1 where e_dat='' group by p_cod having count(*)>1)", 0},
        {"select count(*) from (select m_cod from TC1 where e_dat='' group by m_cod having count(*)>?)", 0},
    };
    for (const auto& k : checks) {
        bool failed = false;
        const QVariant v = c.scalar(Query(k.sql, QString::fromLatin1(k.sql).contains(u'?') ? QVariantList{g.max_cnt}
                                                                                            : QVariantList{}),
                                    &failed);
        if (failed || v.toLongLong() != k.want) {
            *error = QStringLiteral("generated shop is inconsistent: %1 gives %2").arg(QString::fromLatin1(k.sql), v.toString());
            return false;
        }
    }
    c.close();

    QFile meta(folder + QStringLiteral("/shop.txt"));
    if (!meta.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1").arg(meta.fileName());
        return false;
    }
    QTextStream out(&meta);
    out << "version=" << kShopVersion << "\ntoday=" << end.toString(Qt::ISODate) << "\nmembers=" << info->members
        << "\nperiods=" << info->periods << "\nitems=" << info->items << "\nrentals=" << info->rentals
        << "\nout=" << info->out << "\noverdue=" << info->overdue << "\n";
    return true;
}

bool read_meta(const QString& folder, ShopInfo* info)
{
    QFile meta(folder + QStringLiteral("/shop.txt"));
    if (!QFileInfo::exists(folder + QStringLiteral("/PGM.mdb")) || !meta.open(QIODevice::ReadOnly)) return false;
    bool version_ok = false;
    while (!meta.atEnd()) {
        const QString line = QString::fromUtf8(meta.readLine()).trimmed();
        const QString key = line.section(u'=', 0, 0), val = line.section(u'=', 1);
        if (key == u"version") version_ok = val.toInt() == kShopVersion;
        else if (key == u"today") info->today = QDate::fromString(val, Qt::ISODate);
        else if (key == u"members") info->members = val.toLongLong();
        else if (key == u"periods") info->periods = val.toLongLong();
        else if (key == u"items") info->items = val.toLongLong();
        else if (key == u"rentals") info->rentals = val.toLongLong();
        else if (key == u"out") info->out = val.toLongLong();
        else if (key == u"overdue") info->overdue = val.toLongLong();
    }
    info->folder = folder;
    return version_ok && info->today.isValid();
}

} // namespace

bool ensure_shop(const QString& base, ShopInfo* info, QString* error)
{
    const QString folder = QDir(base).absoluteFilePath(QStringLiteral("v%1").arg(kShopVersion));
    *info = ShopInfo();
    if (!read_meta(folder, info)) {
        *info = ShopInfo();
        const QString tmp = folder + QStringLiteral(".new");
        QElapsedTimer t;
        t.start();
        if (!generate(tmp, QDate::currentDate(), info, error)) return false;
        QDir(folder).removeRecursively();
        if (!QDir().rename(tmp, folder)) {
            *error = QStringLiteral("cannot rename %1").arg(tmp);
            return false;
        }
        if (!read_meta(folder, info)) {
            *error = QStringLiteral("cannot read %1/shop.txt").arg(folder);
            return false;
        }
        info->gen_seconds = double(t.elapsed()) / 1000.0;
    }
    return true;
}

bool copy_shop(const ShopInfo& shop, const QString& work, QString* error)
{
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work + QStringLiteral("/TXTFILE"))) {
        *error = QStringLiteral("cannot make %1").arg(work);
        return false;
    }
    for (const char* f : {"PGM.mdb", "PRT.mdb", "CONPATH.txt"}) {
        const QString name = QString::fromLatin1(f);
        if (!QFile::copy(shop.folder + u'/' + name, work + u'/' + name)) {
            *error = QStringLiteral("cannot copy %1 to %2").arg(name, work);
            return false;
        }
    }
    return true;
}
