#include "support/fixture.h"
#include "admin/A3.h"
#include "admin/A3_add_edt.h"
#include "data/clock.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
void add_rental(TestShop& shop, const QString& s_dat, const QString& e_dat = QString())
{
    shop.exec("insert into TC1 (s_dat, c_dat, e_dat, m_cod, p_cod) values (?, ?, ?, 'M1', 'P1')",
              {s_dat, s_dat, e_dat});
}

QString marks(TestShop& shop)
{
    QString s;
    for (const auto& row : shop.rows("select mgm from TC1 order by idx")) s += row[0].toString();
    return s;
}
}

class TestClosing : public QObject {
    Q_OBJECT
private slots:
    void closing_marks_rentals_up_to_its_date();
    void invalid_dates_refused();
    void refusal_and_failure_change_nothing();
    void list_newest_first_and_search();
};

void TestClosing::closing_marks_rentals_up_to_its_date()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    set_today(QDate(2026, 3, 15));
    // Rented before, on and after the day; the first one returned after it.
    add_rental(shop, "2026-02-28", "2026-03-20");
    add_rental(shop, "2026-03-15");
    add_rental(shop, "2026-03-16");
    MsgResponder r;
    A3 w;
    w.show();
    QCOMPARE(w.la_inf->text(), QString("검색 또는 등록된 자료가 존재하지 않습니다!"));
    QVERIFY(!w.findChild<QPushButton*>("cmd_edt"));
    QVERIFY(!w.findChild<QPushButton*>("cmd_del"));

    QString shown;
    QStringList got;
    when_dialog_shows("A3_add_edt", [&](QWidget* d) {
        shown = d->findChild<QLineEdit*>("t_dat")->displayText();
        auto* big = d->findChild<QLineEdit*>("t_big");
        type_text(big, "3월 중순 O'Neil 마감");
        d->findChild<QPushButton*>("cmd_chk")->click();
        got = r.texts;
    });
    w.cmd_add->click();
    QCOMPARE(shown, QString("2026-03-15"));
    QCOMPARE(got, QStringList({"[2026-03-15]까지 등록된 모든 자료들을 마감처리하시겠습니까?", "처리완료!"}));
    QCOMPARE(shop.rows("select dat, big from TA3"),
             QList<QVariantList>({{"2026-03-15", "3월 중순 O'Neil 마감"}}));
    QCOMPARE(marks(shop), QString("YYN"));
    // The list was reloaded when the dialog closed.
    QCOMPARE(w.ms->rows(), 2);
    QCOMPARE(w.ms->text(1, 1), QString("2026-03-15"));
    QCOMPARE(w.ms->text(1, 2), QString("3월 중순 O'Neil 마감"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 1건"));

    // The same date a second time is refused; a later date goes on.
    r.clear();
    when_dialog_shows("A3_add_edt", [&](QWidget* d) {
        d->findChild<QPushButton*>("cmd_chk")->click();
        d->findChild<QLineEdit*>("t_dat")->setText("2026-03-16");
        d->findChild<QPushButton*>("cmd_chk")->click();
    });
    w.cmd_add->click();
    QCOMPARE(r.texts, QStringList({"동일한 날짜로 처리된 내역이 존재합니다!",
                                   "[2026-03-16]까지 등록된 모든 자료들을 마감처리하시겠습니까?", "처리완료!"}));
    QCOMPARE(shop.count("TA3"), 2);
    QCOMPARE(marks(shop), QString("YYY"));
    set_today(QDate());
}

void TestClosing::invalid_dates_refused()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    add_rental(shop, "2026-01-01");
    MsgResponder r;
    A3_add_edt* d = screens::kept<A3_add_edt>();
    d->Form_Load();
    d->show();
    auto* dat = d->findChild<QLineEdit*>("t_dat");
    for (const char* bad : {"2026-13-01", "2026-02-30", "2026-03-1", "", "2026-02-29", "0000-00-00"}) {
        r.clear();
        dat->setText(QString::fromLatin1(bad));
        d->cmd_chk->click();
        QCOMPARE(r.texts, QStringList({"처리일자가 올바르지 않습니다!"}));
        QCOMPARE(d->focusWidget(), dat);
    }
    // Enter walks to the button and presses it.
    r.clear();
    dat->setText("2026-13-01");
    dat->setFocus();
    QTest::keyClick(dat, Qt::Key_Return);
    QCOMPARE(d->focusWidget(), d->t_big);
    QTest::keyClick(d->t_big, Qt::Key_Return);
    QCOMPARE(d->focusWidget(), d->cmd_chk);
    QTest::keyClick(d->cmd_chk, Qt::Key_Return);
    QCOMPARE(r.texts, QStringList({"처리일자가 올바르지 않습니다!"}));
    QVERIFY(d->isVisible());
    QCOMPARE(shop.count("TA3"), 0);
    QCOMPARE(marks(shop), QString("N"));
    // Esc closes the dialog.
    QTest::keyClick(dat, Qt::Key_Escape);
    QVERIFY(!d->isVisible());
}

void TestClosing::refusal_and_failure_change_nothing()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    add_rental(shop, "2026-01-01");
    MsgResponder r;
    A3_add_edt* d = screens::kept<A3_add_edt>();
    d->Form_Load();
    d->show();
    d->t_dat->setText("2026-01-31");

    // No to the question.
    r.answer(QMessageBox::No);
    d->cmd_chk->click();
    QCOMPARE(shop.count("TA3"), 0);
    QCOMPARE(marks(shop), QString("N"));
    QVERIFY(d->isVisible());

    // The update fails after the insert went in: both roll back.
    shop.exec("create trigger no_close before update on TC1 begin select raise(abort, 'locked'); end");
    const int saved = d->saved;
    d->t_big->setText("월말");
    TestShop::expect_sql_error();
    r.clear();
    d->cmd_chk->click();
    QCOMPARE(r.last(), QString("처리실패!"));
    QCOMPARE(shop.count("TA3"), 0);
    QCOMPARE(marks(shop), QString("N"));
    QVERIFY(d->isVisible());
    QCOMPARE(d->t_dat->displayText(), QString("2026-01-31"));
    QCOMPARE(d->t_big->text(), QString("월말"));
    QCOMPARE(d->saved, saved);

    // A same-date check that cannot run stops the run.
    shop.exec("alter table TA3 rename to TA3_old");
    TestShop::expect_sql_error();
    r.clear();
    d->cmd_chk->click();
    QCOMPARE(r.texts, QStringList({"처리실패!"}));
    QCOMPARE(marks(shop), QString("N"));
    d->cmd_can->click();
}

void TestClosing::list_newest_first_and_search()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    for (const char* dat : {"2025-12-31", "2026-02-28", "2026-01-31", "2026-02-14"})
        shop.exec("insert into TA3 values (?, '')", {QString::fromLatin1(dat)});
    A3 w;
    w.resize(1000, 600);
    w.show();
    QCOMPARE(w.ms->rows(), 5);
    QCOMPARE(w.ms->text(1, 1), QString("2026-02-28"));
    QCOMPARE(w.ms->text(4, 1), QString("2025-12-31"));
    QCOMPARE(w.ms->text(0, 1), QString("처리일자"));
    QCOMPARE(w.ms->col_width(1), col_w[1]);
    QCOMPARE(w.ms->col_alignment(1), FlexGrid::AlignCenter);

    w.t_ser->setText("2026-02");
    QTest::keyClick(w.t_ser, Qt::Key_Return);
    QCOMPARE(w.ms->rows(), 3);
    QCOMPARE(w.ms->text(1, 1), QString("2026-02-28"));
    QCOMPARE(w.ms->text(2, 1), QString("2026-02-14"));
    QCOMPARE(w.la_inf->text(), QString("검색건수: 2건"));
    // A double click empties the search box.
    QTest::mouseDClick(w.t_ser, Qt::LeftButton);
    QCOMPARE(w.t_ser->text(), QString());
}

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
