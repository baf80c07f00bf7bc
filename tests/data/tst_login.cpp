#include "support/fixture.h"
#include "data/conpath.h"
#include "data/db.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/state.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
void write_file(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A second shop folder with its own PGM.mdb, told apart by its rental period.
QString other_shop(const QTemporaryDir& tmp, const QString& sub, int max_dat_value)
{
    const QString folder = tmp.path() + "/" + sub;
    QDir().mkpath(folder);
    QString error;
    if (!create_main_database(folder + "/PGM.mdb", &error)) return QString();
    Connection c;
    if (!c.open(folder + "/PGM.mdb", db_password())) return QString();
    c.execute(Query("update TB0 set max_dat = ?", {max_dat_value}));
    return folder;
}

qint64 open_max_dat()
{
    if (!open_db()) return -1;
    return db_con->scalar(Query("select max_dat from TB0")).toLongLong();
}
}

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void conpath_variants();
    void conpath_without_database();
    void wrong_key_is_not_connected();
    void missing_settings_before_account();
    void settings_out_of_range_data();
    void settings_out_of_range();
    void rights_only_exact_ones();
    void name_and_password_case();
};

void TestLogin::conpath_variants()
{
    TestShop shop;
    QTemporaryDir tmp;
    const QString conpath = shop.dir() + "/CONPATH.txt";
    const QString far = other_shop(tmp, "가게 본점", 11);
    QVERIFY(!far.isEmpty());

    write_file(conpath, "S");
    QCOMPARE(open_max_dat(), 3);
    // Anything behind the "S" is ignored.
    write_file(conpath, ("S" + far).toUtf8());
    QCOMPARE(open_max_dat(), 3);
    // "C" and the folder, read as UTF-8, blanks kept.
    write_file(conpath, ("C" + far).toUtf8());
    QCOMPARE(open_max_dat(), 11);
    // Written on two lines (Windows line ends): joined without a separator.
    const int cut = far.lastIndexOf('/');
    write_file(conpath, ("C" + far.left(cut) + "\r\n" + far.mid(cut) + "\r\n").toUtf8());
    QCOMPARE(open_max_dat(), 11);
    write_file(conpath, "S\n");
    QCOMPARE(open_max_dat(), 3);
}

void TestLogin::conpath_without_database()
{
    TestShop shop;
    QTemporaryDir tmp;
    const QString conpath = shop.dir() + "/CONPATH.txt";

    write_file(conpath, "");
    QVERIFY(!open_db());
    QVERIFY(!db_con || !db_con->is_open());

    // A folder without PGM.mdb: not connected, and no database is made there.
    write_file(conpath, ("C" + tmp.path()).toUtf8());
    QVERIFY(!open_db());
    QVERIFY(QDir(tmp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    // A folder that does not exist at all.
    write_file(conpath, ("C" + tmp.path() + "/nowhere").toUtf8());
    QVERIFY(!open_db());
    QVERIFY(!QDir(tmp.path() + "/nowhere").exists());

    QVERIFY(QFile::remove(conpath));
    QVERIFY(!open_db());
    QCOMPARE(login("ADMIN", delivered_admin_password()), LoginResult::NoConnection);
    // Back to the program folder: connected again.
    write_file(conpath, "S");
    QVERIFY(open_db());
}

void TestLogin::wrong_key_is_not_connected()
{
    TestShop shop;
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/PGM.mdb";
    {
        Connection c;
        QVERIFY(c.open(path, "some other key", true));
        QVERIFY(c.execute(Query("create table T (a)")) >= 0);
    }
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    write_file(shop.dir() + "/CONPATH.txt", ("C" + tmp.path()).toUtf8());
    QVERIFY(!open_db());
    QVERIFY(!db_con || !db_con->is_open());
    QCOMPARE(login("ADMIN", delivered_admin_password()), LoginResult::NoConnection);
    // The foreign file is left exactly as it was.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    f.close();

    // A file that is no database at all.
    write_file(path, QByteArray(4096, 'x'));
    QVERIFY(!open_db());
    // And the program's own database still opens afterwards.
    write_file(shop.dir() + "/CONPATH.txt", "S");
    QVERIFY(open_db());
}

void TestLogin::missing_settings_before_account()
{
    TestShop shop;
    shop.exec("delete from TB0");
    QCOMPARE(login("NOBODY", "wrong"), LoginResult::NoSettings);
    QCOMPARE(login("ADMIN", delivered_admin_password()), LoginResult::NoSettings);
    QVERIFY(cur_user.isEmpty());
    QCOMPARE(list_sql.sql, QStringLiteral("select * from TB0"));
}

void TestLogin::settings_out_of_range_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("m_cod_cnt 32767") << "m_cod_cnt" << QVariant(32767) << true;
    QTest::newRow("m_cod_cnt 32768") << "m_cod_cnt" << QVariant(32768) << false;
    QTest::newRow("p_cod_cnt -32769") << "p_cod_cnt" << QVariant(-32769) << false;
    QTest::newRow("max_dat 70000") << "max_dat" << QVariant(70000) << false;
    QTest::newRow("max_cnt text") << "max_cnt" << QVariant("다섯") << false;
    QTest::newRow("max_cnt empty") << "max_cnt" << QVariant("") << false;
    QTest::newRow("max_cnt null") << "max_cnt" << QVariant() << false;
    QTest::newRow("max_dat fraction") << "max_dat" << QVariant(3.5) << false;
    QTest::newRow("haebi 40000 fits 32 bits") << "haebi" << QVariant(40000) << true;
    QTest::newRow("haebi 2^31") << "haebi" << QVariant(qint64(2147483648LL)) << false;
}

void TestLogin::settings_out_of_range()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    TestShop shop;
    QVERIFY(shop.login_admin());
    const qint16 before = max_dat;
    shop.exec("update TB0 set " + column + " = ?", {value});
    QCOMPARE(login("ADMIN", delivered_admin_password()) == LoginResult::Ok, accepted);
    if (!accepted) QCOMPARE(max_dat, before);   // nothing half-loaded
    else if (column == "haebi") QCOMPARE(haebi, 40000);
    else if (column == "m_cod_cnt") QCOMPARE(m_cod_cnt, qint16(32767));
}

void TestLogin::rights_only_exact_ones()
{
    TestShop shop;
    // Rebuilt without NOT NULL, so a missing right can be stored.
    shop.exec("create table TA2n (nam TEXT COLLATE NOCASE, pas TEXT, m_xls, m_prt, m_add, m_edt, m_del, big, chk)");
    shop.exec("insert into TA2n select * from TA2");
    shop.exec("drop table TA2");
    shop.exec("alter table TA2n rename to TA2");
    shop.exec("insert into TA2 values ('KIM', 'a', -1, 1, 2, 1, 0, '', '')");
    shop.exec("insert into TA2 values ('LEE', 'a', 1, NULL, 1, '1', 1, '', '')");
    shop.exec("insert into TA2 values ('PARK', 'a', 1.0, 0, 11, 1, '', '', '')");
    QCOMPARE(login("KIM", "a"), LoginResult::Ok);
    QCOMPARE(user_rights, QStringLiteral("01010"));
    QCOMPARE(login("LEE", "a"), LoginResult::Ok);
    QCOMPARE(user_rights, QStringLiteral("10111"));
    QCOMPARE(login("PARK", "a"), LoginResult::Ok);
    QCOMPARE(user_rights, QStringLiteral("10010"));
    QCOMPARE(user_rights.size(), 5);
}

void TestLogin::name_and_password_case()
{
    TestShop shop;
    shop.add_user("KIM", "Secret", "11000");
    QCOMPARE(login("KIM", "secret"), LoginResult::NoAccount);
    QCOMPARE(login("KIM", "SECRET"), LoginResult::NoAccount);
    QVERIFY(cur_user.isEmpty());
    // The name compares without case; cur_user is the name as stored.
    QCOMPARE(login("kim", "Secret"), LoginResult::Ok);
    QCOMPARE(cur_user, QStringLiteral("KIM"));
    // Typed text never reaches the SQL as text.
    QCOMPARE(login("KIM' or 'a'='a", "x' or 'a'='a"), LoginResult::NoAccount);
    QCOMPARE(cur_user, QStringLiteral("KIM"));
    QCOMPARE(user_rights, QStringLiteral("11000"));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
