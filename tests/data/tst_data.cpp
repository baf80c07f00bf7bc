#include "support/fixture.h"
#include "data/conpath.h"
#include "data/db.h"
#include "data/paths.h"
#include "data/state.h"
#include "data/text.h"

#include <QFile>
#include <QTest>

class TestData : public QObject {
    Q_OBJECT
private slots:
    void clean_input_cases_data();
    void clean_input_cases();
    void has_right_cases();
    void delivered_database();
    void lookup_tells_failure_from_nothing_found();
    void like_contains_finds_the_text_as_it_stands();
};

void TestData::clean_input_cases_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("percent both ends") << "%abc%" << "abc";
    QTest::newRow("apostrophes everywhere") << "'O'Neil'" << "ONeil";
    QTest::newRow("blanks trimmed") << "  kim  " << "kim";
    QTest::newRow("lone percent") << "%" << "";
    QTest::newRow("inner minus kept") << "a-b" << "a-b";
    QTest::newRow("minus behind blank stays") << " -a" << "-a";
    QTest::newRow("two percents keep one") << "ab%%" << "ab%";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("leading apostrophe name") << "'ADMIN" << "ADMIN";
    QTest::newRow("hangul untouched") << "홍길동" << "홍길동";
}

void TestData::clean_input_cases()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(clean_input(in), out);
}

void TestData::has_right_cases()
{
    QVERIFY(has_right("10100", "add"));
    QVERIFY(!has_right("10100", "prt"));
    QVERIFY(has_right("10100", "xls"));
    QVERIFY(!has_right("11111", "ADD"));
    QVERIFY(!has_right("11111", "foo"));
    QVERIFY(!has_right("", "xls"));
    QVERIFY(has_right("11111", "del"));
}

void TestData::delivered_database()
{
    TestShop shop;
    QVERIFY(shop.ok());
    QCOMPARE(shop.count("TB0"), 1);
    QCOMPARE(shop.count("TA2", "nam='ADMIN'"), 1);
    QVERIFY(QFile::exists(shop.dir() + "/PRT.mdb"));
    QVERIFY(QFile::exists(shop.dir() + "/TXTFILE"));
}

void TestData::lookup_tells_failure_from_nothing_found()
{
    TestShop shop;
    QVERIFY(shop.ok());
    shop.add_category("TOY");
    QCOMPARE(lookup(con(), Query("select nam from TB2 where nam=?", {"TOY"})), Lookup::Found);
    QCOMPARE(lookup(con(), Query("select nam from TB2 where nam=?", {"BOOK"})), Lookup::None);
    TestShop::expect_sql_error();
    QCOMPARE(lookup(con(), Query("select nam from TB2 where no_such_column=?", {"TOY"})), Lookup::Failed);
}

void TestData::like_contains_finds_the_text_as_it_stands()
{
    TestShop shop;
    QVERIFY(shop.ok());
    shop.exec("insert into TB2 values ('A_B', ''), ('AXB', ''), ('5%OFF', ''), ('55OFF', ''), ('C\\D', ''), "
              "('CD', ''), ('EF', '')");
    const auto found = [](const QString& text) {
        const LikeContains like = like_contains(QStringLiteral("nam"), text);
        QStringList out;
        Cursor c(con(), Query(QStringLiteral("select nam from TB2 where ") + like.sql + QStringLiteral(" order by nam"),
                              {like.pattern}));
        while (c.next()) out << c.text(0);
        return out;
    };
    QCOMPARE(found("_"), QStringList({"A_B"}));
    QCOMPARE(found("a_b"), QStringList({"A_B"}));   // case aside, as every text key
    QCOMPARE(found("5%O"), QStringList({"5%OFF"}));
    QCOMPARE(found("%"), QStringList({"5%OFF"}));
    QCOMPARE(found("\\"), QStringList({"C\\D"}));
    QCOMPARE(found(""), QStringList({"5%OFF", "55OFF", "A_B", "AXB", "C\\D", "CD", "EF"}));
    // Control characters pasted with the text do not cut it short.
    QCOMPARE(found(QString("E") + QChar(0) + "F"), QStringList({"EF"}));
    QCOMPARE(found(QString("\tA_B\r\n")), QStringList({"A_B"}));
    // The longest text a search box takes stays a valid pattern.
    QCOMPARE(found(QString(100, QChar(u'%'))), QStringList());
    QCOMPARE(found(QString(100, QChar(0xD55C))), QStringList());
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
