#include "support/fixture.h"
#include "admin/A1.h"
#include "admin/A4.h"
#include "data/db.h"
#include "data/paths.h"
#include "data/state.h"
#include "shell/screens.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QByteArray conpath_bytes(const TestShop& shop)
{
    QFile f(shop.dir() + "/CONPATH.txt");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write_conpath_bytes(const TestShop& shop, const QByteArray& b)
{
    QFile f(shop.dir() + "/CONPATH.txt");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

// A stand-in for the main window: the dialogs end the program by closing it.
struct MainStandIn {
    QWidget w;
    MainStandIn() { w.show(); screens::set_main(&w, nullptr); }
    ~MainStandIn() { screens::set_main(nullptr, nullptr); }
    bool closed() const { return !w.isVisible(); }
};

void fill(A4& d, const QStringList& texts)
{
    for (int i = 0; i < F_COUNT; ++i) d.box(i)->setText(texts[i]);
}

const QStringList good = {"10", "7", "50000", "제목", "'규격'", "제조사", "출판사", "장르", "%등급%", "0", "0"};

QString tb0(TestShop& shop)
{
    const auto r = shop.rows("select * from TB0");
    if (r.isEmpty()) return QString();
    QStringList s;
    for (const QVariant& v : r.first()) s << v.toString();
    return s.join(u'|');
}
}

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void settings_load_and_grouping();
    void settings_range_refusals_data();
    void settings_range_refusals();
    void settings_round_trip();
    void settings_without_row_fail();
    void conpath_load();
    void conpath_round_trips();
    void conpath_failures();
};

void TestSettings::settings_load_and_grouping()
{
    TestShop shop;
    MsgResponder r;
    A4 d;
    QCOMPARE(d.t_haebi->text(), QString("30,000"));
    QCOMPARE(d.t_p_cod_cnt->text(), QString("8"));
    QCOMPARE(d.t_m_cod_cnt->text(), QString("6"));
    QCOMPARE(d.t_f3_nam->text(), QString("제조사"));
    QCOMPARE(d.t_max_dat->text(), QString("3"));
    QCOMPARE(d.t_max_cnt->text(), QString("5"));
    QVERIFY(r.texts.isEmpty());

    d.show();
    d.t_haebi->clear();
    QTest::keyClicks(d.t_haebi, "1234567");
    QCOMPARE(d.t_haebi->text(), QString("1,234,567"));
    QCOMPARE(d.t_haebi->cursorPosition(), 9);
    d.t_max_dat->clear();
    QTest::keyClicks(d.t_max_dat, "7.");
    QCOMPARE(d.t_max_dat->text(), QString("7"));
    d.t_max_cnt->clear();
    QTest::keyClicks(d.t_max_cnt, "-");
    QCOMPARE(d.t_max_cnt->text(), QString("-"));
    QTest::keyClicks(d.t_max_cnt, "x");
    QCOMPARE(d.t_max_cnt->text(), QString("-x"));
}

void TestSettings::settings_range_refusals_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("barcode 0") << int(F_P_COD_CNT) << "0" << "바코드자리수가 올바르지 않습니다!";
    QTest::newRow("member code beyond 16 bits") << int(F_M_COD_CNT) << "32768" << "회원코드자리수가 올바르지 않습니다!";
    QTest::newRow("fee 0") << int(F_HAEBI) << "0" << "연회비가 올바르지 않습니다!";
    QTest::newRow("fee beyond 32 bits") << int(F_HAEBI) << "2,147,483,648" << "연회비가 올바르지 않습니다!";
    QTest::newRow("fee huge") << int(F_HAEBI) << "99999999999999999999" << "연회비가 올바르지 않습니다!";
    QTest::newRow("caption only percent") << int(F_F3_NAM) << "%" << "데이터 항목을 표시할 명칭(3)이 비어 있습니다!";
    QTest::newRow("caption blank") << int(F_F6_NAM) << "   " << "데이터 항목을 표시할 명칭(6)이 비어 있습니다!";
    QTest::newRow("period negative") << int(F_MAX_DAT) << "-1" << "최대대여기간이 올바르지 않습니다!";
    QTest::newRow("count beyond 16 bits") << int(F_MAX_CNT) << "40000" << "최대대여수량이 올바르지 않습니다!";
    QTest::newRow("count lone sign") << int(F_MAX_CNT) << "-" << "최대대여수량이 올바르지 않습니다!";
}

void TestSettings::settings_range_refusals()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestShop shop;
    const QString before = tb0(shop);
    MainStandIn main;
    MsgResponder r;
    A4 d;
    d.show();
    fill(d, good);
    d.box(field)->setText(text);
    d.cmd_ok->click();
    QCOMPARE(r.texts, QStringList({message}));
    QCOMPARE(d.focusWidget(), d.box(field));
    QCOMPARE(tb0(shop), before);
    QVERIFY(d.isVisible());
    QVERIFY(!main.closed());
}

void TestSettings::settings_round_trip()
{
    TestShop shop;
    const QString before = tb0(shop);
    MainStandIn main;
    MsgResponder r;
    A4 d;
    d.show();
    fill(d, good);
    QCOMPARE(d.t_haebi->text(), QString("50,000"));

    r.answer(QMessageBox::No);
    d.cmd_ok->click();
    QCOMPARE(r.texts, QStringList({"작성된 내용을 저장하시겠습니까?"}));
    QCOMPARE(tb0(shop), before);
    QVERIFY(d.isVisible());

    r.clear();
    d.t_max_cnt->setText("32767");
    d.cmd_ok->click();
    QCOMPARE(r.texts, QStringList({"작성된 내용을 저장하시겠습니까?",
                                   "프로그램환경설정을 저장하였습니다! 프로그램을 다시 시작하세요!"}));
    QVERIFY(!d.isVisible());
    QVERIFY(main.closed());
    // Captions were cleaned in the boxes and stored so.
    QCOMPARE(d.t_f2_nam->text(), QString("규격"));
    QCOMPARE(tb0(shop), QString("7|10|제목|규격|제조사|출판사|장르|등급|0|32767|50000"));
    // The next log-in reads them all back.
    QVERIFY(shop.login_admin());
    QCOMPARE(p_cod_cnt, qint16(10));
    QCOMPARE(m_cod_cnt, qint16(7));
    QCOMPARE(haebi, 50000);
    QCOMPARE(max_dat, qint16(0));
    QCOMPARE(max_cnt, qint16(32767));
    QCOMPARE(f_nam(6), QString("등급"));

    // A caption the clerk left alone is stored again as it was, not cleaned.
    shop.exec("update TB0 set f6_nam='--등급'");
    A4 again;
    again.show();
    again.t_max_cnt->setText("4");
    again.cmd_ok->click();
    QCOMPARE(tb0(shop), QString("7|10|제목|규격|제조사|출판사|장르|--등급|0|4|50000"));
}

void TestSettings::settings_without_row_fail()
{
    TestShop shop;
    shop.exec("delete from TB0");
    MainStandIn main;
    MsgResponder r;
    A4 d;
    d.show();
    QCOMPARE(d.t_haebi->text(), QString());
    fill(d, good);
    d.cmd_ok->click();
    QCOMPARE(r.last(), QString("프로그램환경설정을 저장하지 못하였습니다!"));
    QVERIFY(d.isVisible());
    QVERIFY(!main.closed());
    QCOMPARE(shop.count("TB0"), 0);
}

void TestSettings::conpath_load()
{
    TestShop shop;
    MsgResponder r;
    {
        write_conpath_bytes(shop, "S");
        A1 d;
        QVERIFY(d.t_chk->isChecked());
        QCOMPARE(d.t_code->text(), QString());
    }
    {
        write_conpath_bytes(shop, "C/mnt/가게\r\n");
        A1 d;
        QVERIFY(!d.t_chk->isChecked());
        QCOMPARE(d.t_code->text(), QString("/mnt/가게"));
    }
    QVERIFY(r.texts.isEmpty());
}

void TestSettings::conpath_round_trips()
{
    TestShop shop;
    MsgResponder r;
    {
        MainStandIn main;
        A1 d;
        d.show();
        d.t_chk->setChecked(true);
        d.t_code->setText("  /srv/o'shop  ");
        d.cmd_ok->click();
        QCOMPARE(r.texts, QStringList({"데이터베이스연결을 설정하였습니다!\n\n프로그램을 다시 시작하세요!"}));
        QVERIFY(main.closed());
        QVERIFY(!d.isVisible());
    }
    QCOMPARE(conpath_bytes(shop), QByteArray("S/srv/oshop\r\n"));
    // The server still opens the database of its program folder.
    QVERIFY(open_db());
    QCOMPARE(QFileInfo(db_con->path()).absolutePath(), QFileInfo(shop.dir()).absoluteFilePath());

    // Client: the folder comes back as typed, unticked.
    QDir().mkpath(shop.dir() + "/elsewhere");
    QVERIFY(QFile::copy(shop.dir() + "/PGM.mdb", shop.dir() + "/elsewhere/PGM.mdb"));
    {
        MainStandIn main;
        A1 d;
        QVERIFY(d.t_chk->isChecked());
        QCOMPARE(d.t_code->text(), QString("/srv/oshop"));
        d.t_chk->setChecked(false);
        d.t_code->setText(shop.dir() + "/elsewhere");
        d.cmd_ok->click();
        QVERIFY(main.closed());
    }
    QCOMPARE(conpath_bytes(shop), "C" + (shop.dir() + "/elsewhere").toUtf8() + "\r\n");
    {
        A1 d;
        QVERIFY(!d.t_chk->isChecked());
        QCOMPARE(d.t_code->text(), shop.dir() + "/elsewhere");
    }
    QVERIFY(open_db());
    QCOMPARE(QFileInfo(db_con->path()).absolutePath(), QFileInfo(shop.dir() + "/elsewhere").absoluteFilePath());

    // Esc leaves the file as it is.
    {
        A1 d;
        d.show();
        d.t_code->setText("/other");
        QTest::keyClick(d.t_code, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }
    QCOMPARE(conpath_bytes(shop), "C" + (shop.dir() + "/elsewhere").toUtf8() + "\r\n");
}

void TestSettings::conpath_failures()
{
    TestShop shop;
    MsgResponder r;
    MainStandIn main;
    // Without the file: told at load and at save, and nothing is created.
    QVERIFY(QFile::remove(shop.dir() + "/CONPATH.txt"));
    {
        A1 d;
        QCOMPARE(r.texts, QStringList({"데이터베이스연결설정파일을 찾지 못하였습니다!"}));
        QVERIFY(!d.t_chk->isChecked());
        d.show();
        r.clear();
        d.t_code->setText("/x");
        d.cmd_ok->click();
        QCOMPARE(r.texts, QStringList({"데이터베이스연결설정파일을 찾지 못하였습니다!"}));
        QVERIFY(d.isVisible());
    }
    QVERIFY(!QFile::exists(shop.dir() + "/CONPATH.txt"));
    QVERIFY(!main.closed());

    // A file that cannot be replaced: the failure is told and the program goes on.
    QVERIFY(QDir().mkdir(shop.dir() + "/CONPATH.txt"));
    r.clear();
    {
        A1 d;
        d.show();
        d.t_code->setText("/x");
        d.cmd_ok->click();
        QCOMPARE(r.last(), QString("데이터베이스연결설정을 저장하지 못하였습니다!"));
        QVERIFY(d.isVisible());
    }
    QVERIFY(!main.closed());
    QVERIFY(QFileInfo(shop.dir() + "/CONPATH.txt").isDir());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
