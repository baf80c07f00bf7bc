#include "support/fixture.h"
#include "support/driving.h"
#include "admin/A2.h"
#include "admin/A2_add_edt.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QString rights_of(TestShop& shop, const QString& name)
{
    const auto r = shop.rows("select m_xls,m_prt,m_add,m_edt,m_del from TA2 where nam=?", {name});
    if (r.isEmpty()) return QString();
    QString s;
    for (const QVariant& v : r.first()) s += v.toString();
    return s;
}

QString grid_rights(FlexGrid* g, int r)
{
    QString s;
    for (int c = 3; c <= 7; ++c) s += g->text(r, c) == QStringLiteral("●") ? u'1' : u'0';
    return s;
}

// Saves the dialog's current entries and returns the messages it gave.
QStringList save(QWidget* d, MsgResponder& r)
{
    r.clear();
    d->findChild<QPushButton*>("cmd_chk")->click();
    return r.texts;
}
}

class TestAccounts : public QObject {
    Q_OBJECT
private slots:
    void add_refusals_and_new_account();
    void edit_reads_and_writes_rights();
    void admin_keeps_all_but_password();
    void edit_writes_the_listed_name();
    void untouched_password_is_kept_as_stored();
    void edit_of_vanished_account_fails();
    void delete_and_search();
    void failed_duplicate_check_refuses();
};

void TestAccounts::add_refusals_and_new_account()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    MsgResponder r;
    A2 w;
    w.show();
    QStringList got;
    QString after_add_name = "?";
    bool after_add_unticked = false;
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        auto* nam = d->findChild<QLineEdit*>("t_nam");
        auto* pas = d->findChild<QLineEdit*>("t_pas");
        auto* big = d->findChild<QLineEdit*>("t_big");
        auto box = [d](const char* n) { return d->findChild<QCheckBox*>(n); };

        nam->setText("'%");          // nothing left after cleaning
        pas->setText("pw");
        got << save(d, r);
        nam->setText("kim");
        pas->setText(" ' ");
        got << save(d, r);           // empty password
        nam->setText("admin");
        pas->setText("pw");
        got << save(d, r);
        nam->setText("kim");
        pas->setText("pw1");
        box("ch1")->setChecked(true);
        box("ch3")->setChecked(true);
        box("ch5")->setChecked(true);
        big->clear();
        type_text(big, "카운터");
        got << save(d, r);           // question + done
        after_add_name = nam->text();
        after_add_unticked = !box("ch1")->isChecked() && !box("ch3")->isChecked();
        nam->setText("Kim");
        pas->setText("other");
        got << save(d, r);           // same name in another case
        d->findChild<QPushButton*>("cmd_can")->click();
    });
    w.cmd_add->click();

    QCOMPARE(got, QStringList({"접속계정이 비어 있습니다!", "비밀번호가 비어 있습니다!", "ADMIN계정은 등록할 수 없습니다!",
                               "작성된 내용을 등록하시겠습니까?", "등록완료!", "동일한 접속계정이 존재합니다!"}));
    QCOMPARE(after_add_name, QString());
    QVERIFY(after_add_unticked);
    QCOMPARE(shop.count("TA2"), 2);
    const auto row = shop.rows("select nam,pas,big,chk from TA2 where nam='KIM'");
    QCOMPARE(row.size(), 1);
    QCOMPARE(row[0][0].toString(), QString("KIM"));
    QCOMPARE(row[0][1].toString(), QString("pw1"));
    QCOMPARE(row[0][2].toString(), QString("카운터"));
    QCOMPARE(row[0][3].toString(), QString("B"));
    QCOMPARE(rights_of(shop, "KIM"), QString("10101"));
    // Closing the dialog after a save reloaded the list.
    const int k = row_of(w.ms, "KIM", 1);
    QVERIFY(k > 0);
    QCOMPARE(grid_rights(w.ms, k), QString("10101"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 2건"));
    // A freshly loaded list has its first row current.
    w.ms_list();
    QCOMPARE(w.ms->row(), 1);
    // The new account logs in with its rights.
    QVERIFY(shop.login("kim", "pw1"));
    QCOMPARE(user_rights, QString("10101"));
}

void TestAccounts::edit_reads_and_writes_rights()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_user("LEE", "pw", "01010");
    MsgResponder r;
    A2 w;
    w.show();
    const int row = row_of(w.ms, "LEE", 1);
    QVERIFY(row > 0);
    w.ms->set_row(row);
    QString seen;
    bool name_locked = false;
    QStringList got;
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        for (const char* n : {"ch1", "ch2", "ch3", "ch4", "ch5"})
            seen += d->findChild<QCheckBox*>(n)->isChecked() ? u'1' : u'0';
        name_locked = !d->findChild<QLineEdit*>("t_nam")->isEnabled();
        d->findChild<QCheckBox*>("ch1")->setChecked(true);
        d->findChild<QCheckBox*>("ch2")->setChecked(false);
        d->findChild<QLineEdit*>("t_pas")->setText("new");
        d->findChild<QLineEdit*>("t_big")->setText("야간");
        got << save(d, r);   // closes itself after the update
    });
    w.cmd_edt->click();
    QCOMPARE(seen, QString("01010"));
    QVERIFY(name_locked);
    QCOMPARE(got, QStringList({"작성된 내용을 수정하시겠습니까?", "수정완료!"}));
    QCOMPARE(rights_of(shop, "LEE"), QString("10010"));
    QCOMPARE(shop.scalar("select pas||'/'||big from TA2 where nam='LEE'").toString(), QString("new/야간"));
    const int again = row_of(w.ms, "LEE", 1);
    QCOMPARE(grid_rights(w.ms, again), QString("10010"));

    // Answering No stores nothing.
    w.ms->set_row(again);
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        d->findChild<QLineEdit*>("t_pas")->setText("third");
        r.answer(QMessageBox::No);
        save(d, r);
        d->findChild<QPushButton*>("cmd_can")->click();
    });
    w.cmd_edt->click();
    QCOMPARE(shop.scalar("select pas from TA2 where nam='LEE'").toString(), QString("new"));
}

void TestAccounts::admin_keeps_all_but_password()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    MsgResponder r;
    A2 w;
    w.show();
    const int row = row_of(w.ms, "ADMIN", 1);
    QVERIFY(row > 0);
    w.ms->set_row(row);
    QStringList before;
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        before = r.texts;
        for (const char* n : {"ch1", "ch2", "ch3", "ch4", "ch5"}) d->findChild<QCheckBox*>(n)->setChecked(false);
        d->findChild<QLineEdit*>("t_big")->setText("바뀐 비고");
        d->findChild<QLineEdit*>("t_pas")->setText("9999");
        save(d, r);
    });
    w.cmd_edt->click();
    QCOMPARE(before, QStringList({"관리자계정은 비밀번호만 수정 가능합니다!"}));
    QCOMPARE(r.last(), QString("수정완료!"));
    QCOMPARE(shop.scalar("select pas from TA2 where nam='ADMIN'").toString(), QString("9999"));
    QCOMPARE(rights_of(shop, "ADMIN"), QString("11111"));
    QCOMPARE(shop.scalar("select big from TA2 where nam='ADMIN'").toString(), QString());

    r.clear();
    w.ms->set_row(row_of(w.ms, "ADMIN", 1));
    w.cmd_del->click();
    QCOMPARE(r.texts, QStringList({"관리자계정은 삭제할 수 없습니다!"}));
    QCOMPARE(shop.count("TA2", "nam='ADMIN'"), 1);
}

void TestAccounts::edit_writes_the_listed_name()
{
    // Cleaning "AB%%" again would give "AB%", another account.
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_user("AB%%", "one", "00000");
    shop.add_user("AB%", "two", "00000");
    MsgResponder r;
    A2 w;
    w.show();
    w.ms->set_row(row_of(w.ms, "AB%%", 1));
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        d->findChild<QCheckBox*>("ch4")->setChecked(true);
        d->findChild<QLineEdit*>("t_pas")->setText("changed");
        save(d, r);
    });
    w.cmd_edt->click();
    QCOMPARE(r.last(), QString("수정완료!"));
    QCOMPARE(shop.scalar("select pas from TA2 where nam='AB%%'").toString(), QString("changed"));
    QCOMPARE(rights_of(shop, "AB%%"), QString("00010"));
    QCOMPARE(shop.scalar("select pas from TA2 where nam='AB%'").toString(), QString("two"));
    QCOMPARE(rights_of(shop, "AB%"), QString("00000"));
}

// Cleaning "-1234" again would drop its sign and lock the clerk out.
void TestAccounts::untouched_password_is_kept_as_stored()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_user("KIM", "-1234", "00000");
    MsgResponder r;
    A2 w;
    w.show();
    w.ms->set_row(row_of(w.ms, "KIM", 1));
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        d->findChild<QLineEdit*>("t_big")->setText("주말");
        save(d, r);
    });
    w.cmd_edt->click();
    QCOMPARE(r.last(), QString("수정완료!"));
    QCOMPARE(shop.scalar("select pas||'/'||big from TA2 where nam='KIM'").toString(), QString("-1234/주말"));
    // The log-in cleans what is typed: "--1234" is the stored "-1234".
    QVERIFY(shop.login("KIM", "--1234"));
}

void TestAccounts::edit_of_vanished_account_fails()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_user("PARK", "pw", "11111");
    shop.add_user("JUNG", "pw", "11111");
    MsgResponder r;
    A2 w;
    w.show();
    // Both go on another desktop while the list shows them.
    shop.exec("delete from TA2 where nam in ('PARK','JUNG')");

    w.ms->set_row(row_of(w.ms, "JUNG", 1));
    w.cmd_del->click();
    QCOMPARE(r.texts, QStringList({"[JUNG]항목을 삭제하시겠습니까?", "삭제실패!"}));

    r.clear();
    w.ms->set_row(row_of(w.ms, "PARK", 1));
    bool still_open = false;
    when_dialog_shows("A2_add_edt", [&](QWidget* d) {
        d->findChild<QLineEdit*>("t_pas")->setText("x");
        save(d, r);
        still_open = d->isVisible();
        d->findChild<QPushButton*>("cmd_can")->click();
    });
    w.cmd_edt->click();
    QCOMPARE(r.texts, QStringList({"작성된 내용을 수정하시겠습니까?", "수정실패!"}));
    QVERIFY(still_open);
    QCOMPARE(shop.count("TA2"), 1);
}

void TestAccounts::delete_and_search()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.add_user("CHOI", "pw", "10000");
    shop.add_user("BAEK", "pw", "00001");
    MsgResponder r;
    A2 w;
    w.show();
    // The shipped ADMIN row sorts first by chk, the rest by name.
    QCOMPARE(w.ms->rows(), 4);
    QCOMPARE(w.ms->text(1, 1), QString("ADMIN"));
    QCOMPARE(w.ms->text(2, 1), QString("BAEK"));
    QCOMPARE(w.ms->text(3, 1), QString("CHOI"));
    QCOMPARE(w.ms->col_width(0), 0);
    QVERIFY(w.ms->col_width(8) >= 2500);

    w.t_ser->setText("HO");
    QTest::keyClick(w.t_ser, Qt::Key_Return);
    QCOMPARE(w.ms->rows(), 2);
    QCOMPARE(w.ms->text(1, 1), QString("CHOI"));

    w.ms->set_row(1);
    r.answer(QMessageBox::No);
    w.cmd_del->click();
    QCOMPARE(shop.count("TA2", "nam='CHOI'"), 1);
    r.clear();
    w.cmd_del->click();
    QCOMPARE(r.texts, QStringList({"[CHOI]항목을 삭제하시겠습니까?", "삭제완료!"}));
    QCOMPARE(shop.count("TA2", "nam='CHOI'"), 0);

    // Nothing found: edit and delete do nothing.
    QCOMPARE(w.la_inf->text(), QString("검색 또는 등록된 자료가 존재하지 않습니다!"));
    r.clear();
    w.cmd_edt->click();
    w.cmd_del->click();
    QVERIFY(r.texts.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestAccounts::failed_duplicate_check_refuses()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    shop.exec("alter table TA2 rename to TA2_old");
    MsgResponder r;
    auto* d = screens::kept<A2_add_edt>();
    d->reset();
    d->t_chk->setText("add");
    d->show();
    d->t_nam->setText("NEW");
    d->t_pas->setText("pw");
    TestShop::expect_sql_error();
    d->cmd_chk->click();
    QCOMPARE(r.texts, QStringList({"등록실패!"}));
    QCOMPARE(shop.count("TA2_old"), 1);
    d->cmd_can->click();
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
