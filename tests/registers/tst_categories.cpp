#include "support/fixture.h"
#include "support/driving.h"
#include "registers/B2.h"
#include "registers/B2_add_edt.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {
// A fresh dialog object, as at the program's start.
void fresh_dialog() { delete screens::kept<B2_add_edt>(); }
}

class TestCategories : public QObject {
    Q_OBJECT
private slots:
    void adding_cleans_refuses_and_stays_open();
    void editing_changes_only_the_remark();
    void deleting_keeps_categories_in_use();
    void failed_use_check_keeps_the_category();
    void rights_and_empty_list();
    void search_cleans_and_matches_anywhere();
    void search_takes_wildcards_as_text();
    void closing_reloads_after_any_save();
};

void TestCategories::adding_cleans_refuses_and_stays_open()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    fresh_dialog();
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(child<QLabel>(w.get(), "la_inf")->text(), QString("검색 또는 등록된 자료가 존재하지 않습니다!"));
    QCOMPARE(ms->rows(), 1);

    bool ran = false;
    drive("B2_add_edt", [&](QWidget* d) {
        auto* t_nam = child<QLineEdit>(d, "t_nam");
        auto* t_big = child<QLineEdit>(d, "t_big");
        QVERIFY(t_nam->isEnabled());
        QTest::keyClicks(t_nam, "toy%");
        type_text(t_big, "장난감 '인기'");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 등록하시겠습니까?", "등록완료!"}));
        QVERIFY(d->isVisible());
        QCOMPARE(t_nam->text(), QString());
        QCOMPARE(t_big->text(), QString());

        r.clear();
        QTest::keyClicks(t_nam, "Toy");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"동일한 분류명이 존재합니다!"}));
        QCOMPARE(t_nam->text(), QString("TOY"));

        r.clear();
        t_nam->setText(" ' ");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"분류명이 비어 있습니다!"}));

        r.clear();
        r.answer(QMessageBox::No);
        t_nam->setText("book");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 등록하시겠습니까?"}));
        ran = true;
    });
    click(w.get(), "cmd_add");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select nam, big from TB2"), QList<QVariantList>({{"TOY", "장난감 인기"}}));
    // Closing after the save reloaded the list.
    QCOMPARE(column(ms, 1), QStringList({"TOY"}));
    QCOMPARE(column(ms, 2), QStringList({"장난감 인기"}));
    QCOMPARE(ms->text(0, 1), QString("분 류 명"));
    QCOMPARE(ms->text(0, 2), QString("비    고"));
    QCOMPARE(child<QLabel>(w.get(), "la_inf")->text(), QString("검색건수: 1건"));
}

void TestCategories::editing_changes_only_the_remark()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    fresh_dialog();
    shop.exec("insert into TB2 values ('BOOK', 'old'), ('TOY', 'x')");
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    ms->set_row(2);
    bool ran = false;
    drive("B2_add_edt", [&](QWidget* d) {
        auto* t_nam = child<QLineEdit>(d, "t_nam");
        QVERIFY(!t_nam->isEnabled());
        QCOMPARE(t_nam->text(), QString("TOY"));
        QCOMPARE(child<QLineEdit>(d, "t_big")->text(), QString("x"));
        child<QLineEdit>(d, "t_big")->setText("it's new");
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 수정하시겠습니까?", "수정완료!"}));
        QVERIFY(!d->isVisible());
        ran = true;
    });
    click(w.get(), "cmd_edt");
    QVERIFY(ran);
    QCOMPARE(shop.rows("select nam, big from TB2 order by nam"),
             QList<QVariantList>({{"BOOK", "old"}, {"TOY", "its new"}}));
    QCOMPARE(column(ms, 2), QStringList({"old", "its new"}));

    // A category that went away meanwhile is not reported as changed.
    shop.exec("delete from TB2 where nam='BOOK'");
    ms->set_row(1);
    r.clear();
    drive("B2_add_edt", [&](QWidget* d) {
        click(d, "cmd_chk");
        QCOMPARE(r.texts, QStringList({"작성한 내용을 수정하시겠습니까?", "수정실패!"}));
        QVERIFY(d->isVisible());
    });
    click(w.get(), "cmd_edt");
    QCOMPARE(shop.count("TB2"), 1);
}

void TestCategories::deleting_keeps_categories_in_use()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("BOOK");
    shop.add_category("TOY");
    shop.add_item("A0000001", "TOY");
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");

    ms->set_row(2);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"품목정보에 해당정보가 연결되어 있으므로 삭제할 수 없습니다!"}));
    QCOMPARE(shop.count("TB2", "nam='TOY'"), 1);

    r.clear();
    r.answer(QMessageBox::No);
    ms->set_row(1);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"[BOOK]항목을 삭제하시겠습니까?"}));
    QCOMPARE(shop.count("TB2"), 2);

    r.clear();
    ms->set_row(1);
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"[BOOK]항목을 삭제하시겠습니까?", "삭제완료!"}));
    QCOMPARE(shop.count("TB2", "nam='BOOK'"), 0);
    QCOMPARE(column(ms, 1), QStringList({"TOY"}));
}

void TestCategories::failed_use_check_keeps_the_category()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_category("TOY");
    shop.add_item("A0000001", "TOY");
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    child<FlexGrid>(w.get(), "ms")->set_row(1);
    // The item table cannot be read: the check fails instead of finding nothing.
    shop.exec("alter table TB4 rename to TB4_away");
    TestShop::expect_sql_error();
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"삭제실패!"}));
    QCOMPARE(shop.count("TB2"), 1);
    shop.exec("alter table TB4_away rename to TB4");

    // No connection: the delete stops there.
    QVERIFY(QFile::remove(shop.dir() + "/CONPATH.txt"));
    r.clear();
    click(w.get(), "cmd_del");
    QCOMPARE(r.texts, QStringList({"(서버)데이터베이스연결실패!"}));
    QFile f(shop.dir() + "/CONPATH.txt");
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("S") == 1);
    f.close();
    QCOMPARE(shop.count("TB2"), 1);
}

void TestCategories::rights_and_empty_list()
{
    TestShop shop;
    shop.add_user("KIM", "1", "11000");
    QVERIFY(shop.login("kim", "1"));
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    for (const char* b : {"cmd_add", "cmd_edt", "cmd_del"}) {
        r.clear();
        click(w.get(), b);
        QCOMPARE(r.texts, QStringList({"프로그램에서 승인할 수 없는 사용자입니다!"}));
    }

    QVERIFY(shop.login_admin());
    w.reset(show_window<B2>(1000, 700));
    r.clear();
    click(w.get(), "cmd_edt");
    click(w.get(), "cmd_del");
    QVERIFY(r.texts.isEmpty());
}

void TestCategories::search_cleans_and_matches_anywhere()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.exec("insert into TB2 values ('BOOK', 'paper box'), ('TOY', 'boxed'), ('CD', 'disc')");
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    QCOMPARE(column(ms, 1), QStringList({"BOOK", "CD", "TOY"}));
    auto* PB = child<QProgressBar>(w.get(), "PB");
    QCOMPARE(PB->value(), 3);
    QCOMPARE(PB->maximum(), 3);
    auto* t_chk = child<QComboBox>(w.get(), "t_chk");
    QCOMPARE(t_chk->currentText(), QString("분 류 명"));
    t_chk->setCurrentIndex(1);
    auto* t_ser = child<QLineEdit>(w.get(), "t_ser");
    QTest::keyClicks(t_ser, "%box'");
    press_enter(t_ser);
    QCOMPARE(t_ser->text(), QString("box"));
    QCOMPARE(column(ms, 1), QStringList({"BOOK", "TOY"}));

    t_chk->setCurrentIndex(0);
    t_ser->setText("zzz");
    click(w.get(), "cmd_fnd");
    QCOMPARE(ms->rows(), 1);
    QCOMPARE(ms->cols(), 1);
    QCOMPARE(child<QLabel>(w.get(), "la_inf")->text(), QString("검색 또는 등록된 자료가 존재하지 않습니다!"));
    QVERIFY(r.texts.isEmpty());
}

void TestCategories::search_takes_wildcards_as_text()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.exec("insert into TB2 values ('A_B', ''), ('AXB', ''), ('5%OFF', ''), ('55OFF', '')");
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");
    auto* t_ser = child<QLineEdit>(w.get(), "t_ser");
    QCOMPARE(t_ser->maxLength(), 100);
    t_ser->setText("_");
    click(w.get(), "cmd_fnd");
    QCOMPARE(column(ms, 1), QStringList({"A_B"}));
    t_ser->setText("5%O");
    click(w.get(), "cmd_fnd");
    QCOMPARE(column(ms, 1), QStringList({"5%OFF"}));
}

void TestCategories::closing_reloads_after_any_save()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    fresh_dialog();
    MsgResponder r;
    std::unique_ptr<B2> w(show_window<B2>(1000, 700));
    FlexGrid* ms = child<FlexGrid>(w.get(), "ms");

    // Nothing saved yet: closing leaves the list as it was.
    shop.add_category("LATE1");
    drive("B2_add_edt", [](QWidget*) {});
    click(w.get(), "cmd_add");
    QCOMPARE(ms->rows(), 1);

    drive("B2_add_edt", [&](QWidget* d) {
        child<QLineEdit>(d, "t_nam")->setText("new");
        click(d, "cmd_chk");
    });
    click(w.get(), "cmd_add");
    QCOMPARE(column(ms, 1), QStringList({"LATE1", "NEW"}));

    // A later opening without a save still reloads.
    shop.add_category("LATE2");
    drive("B2_add_edt", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    click(w.get(), "cmd_add");
    QCOMPARE(column(ms, 1), QStringList({"LATE1", "LATE2", "NEW"}));
}

QTEST_MAIN(TestCategories)
#include "tst_categories.moc"
