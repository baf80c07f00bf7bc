#include "data/schema.h"
#include "data/db.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString delivered_admin_password() { return QStringLiteral("1234"); }

QString main_schema_sql()
{
    // Column order is binding: positional inserts and readers by position
    // depend on it. Text keys compare without case.
    return QStringLiteral(R"SQL(
CREATE TABLE TA2 (
  nam TEXT COLLATE NOCASE NOT NULL DEFAULT '', pas TEXT NOT NULL DEFAULT '',
  m_xls INTEGER NOT NULL DEFAULT 0, m_prt INTEGER NOT NULL DEFAULT 0, m_add INTEGER NOT NULL DEFAULT 0,
  m_edt INTEGER NOT NULL DEFAULT 0, m_del INTEGER NOT NULL DEFAULT 0,
  big TEXT NOT NULL DEFAULT '', chk TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX TA2_nam ON TA2(nam);

CREATE TABLE TA3 (dat TEXT NOT NULL DEFAULT '', big TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX TA3_dat ON TA3(dat);

CREATE TABLE TB0 (
  m_cod_cnt INTEGER, p_cod_cnt INTEGER,
  f1_nam TEXT NOT NULL DEFAULT '', f2_nam TEXT NOT NULL DEFAULT '', f3_nam TEXT NOT NULL DEFAULT '',
  f4_nam TEXT NOT NULL DEFAULT '', f5_nam TEXT NOT NULL DEFAULT '', f6_nam TEXT NOT NULL DEFAULT '',
  max_dat INTEGER, max_cnt INTEGER, haebi INTEGER);

CREATE TABLE TB1 (
  act TEXT NOT NULL DEFAULT '', gbn TEXT NOT NULL DEFAULT '', dat TEXT NOT NULL DEFAULT '',
  cod TEXT COLLATE NOCASE NOT NULL DEFAULT '', nam TEXT NOT NULL DEFAULT '', tel TEXT NOT NULL DEFAULT '',
  phn TEXT NOT NULL DEFAULT '', adr TEXT NOT NULL DEFAULT '', big TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX TB1_cod ON TB1(cod);
CREATE INDEX TB1_nam ON TB1(nam);
CREATE INDEX TB1_gbn ON TB1(gbn, act, dat);

CREATE TABLE TB1_1 (
  idx INTEGER PRIMARY KEY AUTOINCREMENT, cod TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  s_dat TEXT NOT NULL DEFAULT '', e_dat TEXT NOT NULL DEFAULT '', mon INTEGER NOT NULL DEFAULT 0,
  chm TEXT NOT NULL DEFAULT '');
CREATE INDEX TB1_1_cod ON TB1_1(cod, e_dat);

CREATE TABLE TB2 (nam TEXT COLLATE NOCASE NOT NULL DEFAULT '', big TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX TB2_nam ON TB2(nam);

CREATE TABLE TB4 (
  act TEXT NOT NULL DEFAULT '', sta TEXT NOT NULL DEFAULT '', gbn TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  cod TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  f1_nam TEXT NOT NULL DEFAULT '', f2_nam TEXT NOT NULL DEFAULT '', f3_nam TEXT NOT NULL DEFAULT '',
  f4_nam TEXT NOT NULL DEFAULT '', f5_nam TEXT NOT NULL DEFAULT '', f6_nam TEXT NOT NULL DEFAULT '',
  dae INTEGER NOT NULL DEFAULT 0, yun INTEGER NOT NULL DEFAULT 0, big TEXT NOT NULL DEFAULT '');
CREATE UNIQUE INDEX TB4_cod ON TB4(cod);
CREATE INDEX TB4_gbn ON TB4(gbn);

CREATE TABLE TC1 (
  idx INTEGER PRIMARY KEY AUTOINCREMENT,
  s_dat TEXT NOT NULL DEFAULT '', c_dat TEXT NOT NULL DEFAULT '', e_dat TEXT NOT NULL DEFAULT '',
  m_cod TEXT COLLATE NOCASE NOT NULL DEFAULT '', p_cod TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  m_dae INTEGER NOT NULL DEFAULT 0, m_yun INTEGER NOT NULL DEFAULT 0,
  m_dae_chk TEXT NOT NULL DEFAULT 'N', m_yun_chk TEXT NOT NULL DEFAULT 'N',
  u_dae TEXT NOT NULL DEFAULT '', u_ban TEXT NOT NULL DEFAULT '', big TEXT NOT NULL DEFAULT '',
  mgm TEXT NOT NULL DEFAULT 'N', ccc INTEGER NOT NULL DEFAULT 0);
CREATE INDEX TC1_s_dat ON TC1(s_dat);
CREATE INDEX TC1_c_dat ON TC1(c_dat);
CREATE INDEX TC1_e_dat ON TC1(e_dat);
CREATE INDEX TC1_m_cod ON TC1(m_cod, e_dat);
CREATE INDEX TC1_m_cod_s_dat ON TC1(m_cod, s_dat, m_dae_chk, m_yun_chk, m_dae, m_yun);
CREATE INDEX TC1_p_cod ON TC1(p_cod, e_dat);

CREATE VIEW MEM AS
  SELECT m.gbn AS gbn, m.dat AS dat, m.cod AS cod, m.nam AS nam, m.tel AS tel, m.phn AS phn,
         m.adr AS adr, m.big AS big, m.act AS act, p.s_dat AS sdat, p.e_dat AS edat, p.mon AS yun
    FROM TB1 m JOIN TB1_1 p ON p.cod = m.cod
  UNION ALL
  SELECT m.gbn, m.dat, m.cod, m.nam, m.tel, m.phn, m.adr, m.big, m.act,
         '1000-01-01', '1000-01-01', -1
    FROM TB1 m WHERE NOT EXISTS (SELECT 1 FROM TB1_1 p WHERE p.cod = m.cod);

INSERT INTO TB0 VALUES (6, 8, '품명', '규격', '제조사', '비고1', '비고2', '비고3', 3, 5, 30000);
)SQL");
}

const QList<PrintTable>& print_tables()
{
    static const QList<PrintTable> tables{
        {"prt1", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "sdat", "edat", "kyu", "mee", "big"}},
        {"prt3", {"sta", "gbn", "cod", "f1", "f2", "f3", "f4", "f5", "f6", "dae", "yun", "big"}},
        {"prt4", {"mk", "cnt", "dat1", "dat2", "dat3", "m_cod", "m_nam", "p_cod", "p_nam", "dae", "yun",
                  "u_dae", "u_ban", "big"}},
        {"prt5", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "sdat", "edat", "haebi", "pre", "tot_yun",
                  "tot_kyu", "tot_mee", "big"}},
        {"prt6", {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "pre", "tot_dae", "tot_yun", "dae_kyu",
                  "yun_kyu", "tot_mee", "big"}},
    };
    return tables;
}

QString print_schema_sql()
{
    QString sql;
    for (const PrintTable& t : print_tables()) {
        QStringList cols;
        for (const QString& c : t.columns) cols << c + QStringLiteral(" TEXT");
        sql += QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2);\n")
                   .arg(QLatin1String(t.name), cols.join(QStringLiteral(", ")));
    }
    return sql;
}

bool create_main_database(const QString& path, QString* error)
{
    Connection c;
    if (!c.open(path, db_password(), true)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(path);
        return false;
    }
    bool ok = c.execute(Query("PRAGMA journal_mode=DELETE")) >= 0 && c.execute_script(main_schema_sql())
              && c.execute(Query("INSERT INTO TA2 VALUES ('ADMIN', ?, 1, 1, 1, 1, 1, '', 'A')",
                                 {delivered_admin_password()})) == 1;
    c.close();
    if (!ok) {
        QFile::remove(path);
        if (error) *error = QStringLiteral("cannot write the tables of %1").arg(path);
    }
    return ok;
}

bool write_program_folder(const QString& folder, QString* error)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")) || !dir.mkpath(QStringLiteral("TXTFILE"))) {
        if (error) *error = QStringLiteral("cannot make %1").arg(folder);
        return false;
    }
    const QString pgm = dir.filePath(QStringLiteral("PGM.mdb"));
    if (!QFileInfo::exists(pgm)) {
        const QString tmp = pgm + QStringLiteral(".new");
        QFile::remove(tmp);
        if (!create_main_database(tmp, error)) return false;
        if (!QFile::rename(tmp, pgm)) {
            if (error) *error = QStringLiteral("cannot write %1").arg(pgm);
            return false;
        }
    }
    // PRT.mdb: a plain database; one that lacks print tables gets them.
    const QString prt = dir.filePath(QStringLiteral("PRT.mdb"));
    {
        Connection c;
        if (!c.open(prt, QString(), !QFileInfo::exists(prt))
            || c.execute(Query("PRAGMA journal_mode=DELETE")) < 0 || !c.execute_script(print_schema_sql())) {
            if (error) *error = QStringLiteral("cannot write the tables of %1").arg(prt);
            return false;
        }
    }
    const QString conpath = dir.filePath(QStringLiteral("CONPATH.txt"));
    if (!QFileInfo::exists(conpath)) {
        QFile f(conpath);
        if (!f.open(QIODevice::WriteOnly) || f.write("S") != 1) {
            if (error) *error = QStringLiteral("cannot write %1").arg(conpath);
            return false;
        }
    }
    return true;
}
