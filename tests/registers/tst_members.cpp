// The member list as a clerk uses it: what each row shows, the filters,
// the in-use switch with its refusals, and deletion.
#include "support/fixture.h"
#include "support/driving.h"
#include "data/state.h"
#include "counter/rentals.h"
#include "data/clock.h"
#include "registers/B1.h"
#include "registers/members.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
QString g_popup;
void record_popup(const QString& name, const QPoint&) { g_popup = name; }

QStringList row_cells(FlexGrid* g, int r)
{
    QStringList out;
    for (int c = 1; c < g->cols(); ++c) out << g->text(r, c);
    return out;
}

void dbl_click(FlexGrid* g, int r) { dbl_click_cell(g, r, 5); }
}

class TestMembers : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        shop = std::make_unique<TestShop>();
        QVERIFY(shop->ok());
        QVERIFY(shop->login_admin());
        // M001: one paid and one unpaid period, all rentals back and paid.
        shop->add_member("M001", "김하나");
        shop->add_period("M001", "2025-03-01", "2026-03-01", 30000);
        shop->add_period("M001", "2026-03-01", "2027-03-01", 0);
        rental("M001", "2026-01-01", "Y", "Y");
        // M002: one unpaid period.
        shop->add_member("M002", "이둘");
        shop->add_period("M002", "2026-01-05", "2027-01-05", 0);
        // M003: no period, two items out.
        shop->add_member("M003", "박셋", "B");
        rental("M003", "", "Y", "N");
        rental("M003", "", "N", "N");
        // M004: no period, nothing out.
        shop->add_member("M004", "최넷", "B");
        // M005: paid, returned but the late fee is open.
        shop->add_member("M005", "정다섯");
        shop->add_period("M005", "2026-02-01", "2027-02-01", 30000);
        rental("M005", "2026-02-10", "Y", "N");
        // Out of use.
        shop->add_member("M006", "강여섯", "A", "N");
        shop->add_period("M006", "2025-01-01", "2026-01-01", 30000);
        shop->add_member("M007", "윤일곱", "B", "N");
        screens::set_popup_handler(record_popup);
        b1 = new B1;
        b1->show();
        QVERIFY(QTest::qWaitForWindowExposed(b1));
        ms = b1->ms;
    }

    void cleanup()
    {
        delete b1.data();
        shop.reset();
    }

    void rows_show_periods_marks_and_open_rentals()
    {
        QCOMPARE(ms->rows(), 6);
        QCOMPARE(ms->cols(), 14);
        QCOMPARE(b1->la_inf->text(), QStringLiteral("검색건수: 5건"));
        QCOMPARE(ms->text(0, 12), QStringLiteral("미반납"));
        QCOMPARE(row_cells(ms, row_of(ms, "M001")),
                 (QStringList{"", "A", "2026-01-02", "M001", "김하나", "02-123-4567", "010-1234-5678", "서울",
                              "2026-03-01", "2027-03-01", "●", "0", ""}));
        QCOMPARE(row_cells(ms, row_of(ms, "M002")).mid(8, 4), (QStringList{"2026-01-05", "2027-01-05", "○", "0"}));
        QCOMPARE(row_cells(ms, row_of(ms, "M003")).mid(8, 4), (QStringList{"####-##-##", "####-##-##", "○", "2"}));
        QCOMPARE(row_cells(ms, row_of(ms, "M004")).mid(8, 4), (QStringList{"####-##-##", "####-##-##", "○", "0"}));
        QCOMPARE(row_cells(ms, row_of(ms, "M005")).mid(8, 4), (QStringList{"2026-02-01", "2027-02-01", "●", "0"}));
        // The remark takes the rest of the grid, at least 2500 twips.
        QVERIFY(ms->col_width(13) >= 2500);
        QCOMPARE(ms->col_width(12), 1000);
    }

    void search_takes_wildcards_as_text()
    {
        shop->add_member("A_1", "밑줄_회원", "B");
        shop->add_member("AB1", "밑줄X회원", "B");
        shop->add_member("P1", "5%할인", "B");
        shop->add_member("P2", "55할인", "B");
        b1->t_ser->setText(QStringLiteral("_"));
        b1->cmd_fnd->click();
        QCOMPARE(b1->t_ser->text(), QStringLiteral("_"));
        QCOMPARE(column(ms, 4), QStringList({"A_1"}));
        b1->t_chk->setCurrentText(QStringLiteral("회 원 명"));
        b1->t_ser->setText(QStringLiteral("5%할"));
        b1->cmd_fnd->click();
        QCOMPARE(column(ms, 4), QStringList({"P1"}));
        b1->t_ser->setText(QStringLiteral("밑줄") + QChar(0) + QStringLiteral("_"));
        b1->cmd_fnd->click();
        QCOMPARE(column(ms, 4), QStringList({"A_1"}));
        // The box takes no more than a search needs.
        b1->t_ser->setText(QString(500, QChar(u'x')));
        QCOMPARE(b1->t_ser->text().size(), 100);
    }

    void selected_option_clicked_again_stays()
    {
        QVERIFY(b1->op_0->isChecked());
        b1->op_0->click();
        QVERIFY(b1->op_0->isChecked());
        QVERIFY(!b1->op_1->isChecked());
        QCOMPARE(ms->rows() - 1, 5);
        b1->op_1->click();
        b1->op_1->click();
        QVERIFY(b1->op_1->isChecked());
        QCOMPARE(column(ms, 4), QStringList({"M006", "M007"}));
    }

    void filters_by_kind_use_and_field()
    {
        b1->t_gbn->setCurrentText(QStringLiteral("비 회 원"));
        QCOMPARE(ms->rows() - 1, 2);
        b1->t_gbn->setCurrentIndex(0);
        b1->op_1->click();
        QCOMPARE(ms->rows() - 1, 2);
        QCOMPARE(row_cells(ms, row_of(ms, "M006")).mid(8, 3), (QStringList{"2025-01-01", "2026-01-01", "●"}));
        b1->op_0->click();
        b1->t_chk->setCurrentText(QStringLiteral("회 원 명"));
        b1->t_ser->setText(QStringLiteral("'셋'"));   // cleaned before the search
        QTest::keyClick(b1->t_ser, Qt::Key_Return);
        QCOMPARE(b1->t_ser->text(), QStringLiteral("셋"));
        QCOMPARE(ms->rows() - 1, 1);
        QCOMPARE(ms->text(1, 4), QStringLiteral("M003"));
        b1->t_ser->setText(QStringLiteral("없음"));
        b1->cmd_fnd->click();
        QCOMPARE(ms->rows(), 1);
        QCOMPARE(b1->la_inf->text(), QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!"));
        QTest::mouseDClick(b1->t_ser, Qt::LeftButton);
        QCOMPARE(b1->t_ser->text(), QString());
    }

    void ticks_and_popup()
    {
        dbl_click(ms, 2);
        QCOMPARE(ms->text(2, 1), QStringLiteral("√"));
        dbl_click(ms, 2);
        QCOMPARE(ms->text(2, 1), QString());
        dbl_click(ms, 2);
        b1->ms_list();
        QCOMPARE(ms->text(2, 1), QString());   // a reload drops the ticks
        const QRect cell = ms->visualRect(ms->model()->index(0, 5));
        QTest::mousePress(ms->viewport(), Qt::RightButton, {}, cell.center());
        QCOMPARE(g_popup, QStringLiteral("POP1"));
    }

    void switch_refuses_open_or_unpaid_members()
    {
        MsgResponder r;
        for (int row : {1, 3, 5}) ms->set_text(row, 1, QStringLiteral("√"));
        b1->Check1->click();
        QCOMPARE(r.texts, QStringList{"(3) 반납처리 및 결제가 완료되지 않은 회원은 사용안함으로 변경할 수 없습니다!"});
        QVERIFY(!b1->Check1->isChecked());
        ms->set_text(3, 1, QString());
        r.clear();
        b1->Check1->click();   // M005's late fee is still unpaid
        QCOMPARE(r.texts, QStringList{"(5) 반납처리 및 결제가 완료되지 않은 회원은 사용안함으로 변경할 수 없습니다!"});
        QCOMPARE(shop->count("TB1", "act='N'"), 2);

        // A check that cannot run switches nothing and asks nothing.
        ms->set_text(5, 1, QString());
        r.clear();
        shop->exec("ALTER TABLE TC1 RENAME TO TC1_away");
        TestShop::expect_sql_error();
        b1->Check1->click();
        shop->exec("ALTER TABLE TC1_away RENAME TO TC1");
        QCOMPARE(r.texts, QStringList{"데이터처리실패!"});
        QCOMPARE(shop->count("TB1", "act='N'"), 2);

        r.clear();
        r.answer(QMessageBox::No);
        b1->Check1->click();
        QCOMPARE(r.texts, QStringList{"(1)건의 데이터를 사용안함으로 변경하시겠습니까?"});
        QCOMPARE(shop->count("TB1", "act='N'"), 2);
        QVERIFY(!b1->Check1->isChecked());

        r.clear();
        ms->set_text(1, 1, QStringLiteral("√"));
        b1->Check1->click();
        QCOMPARE(r.texts, (QStringList{"(1)건의 데이터를 사용안함으로 변경하시겠습니까?", "데이터처리완료!"}));
        QCOMPARE(shop->scalar("select act from TB1 where cod='M001'").toString(), QStringLiteral("N"));
        QCOMPARE(row_of(ms, "M001"), -1);
        QVERIFY(!b1->Check1->isChecked());

        // Back into use from the out-of-use list, under the same check.
        b1->op_1->click();
        r.clear();
        ms->set_text(row_of(ms, "M001"), 1, QStringLiteral("√"));
        ms->set_text(row_of(ms, "M007"), 1, QStringLiteral("√"));
        b1->Check1->click();
        QCOMPARE(r.texts, (QStringList{"(2)건의 데이터를 사용함으로 변경하시겠습니까?", "데이터처리완료!"}));
        QCOMPARE(shop->count("TB1", "act='N'"), 1);
        QCOMPARE(ms->rows() - 1, 1);

        r.clear();
        b1->Check1->click();
        QCOMPARE(r.texts, QStringList{"체크된 회원이 없습니다!"});
        QVERIFY(!b1->Check1->isChecked());
    }

    void delete_refusals_and_cascade()
    {
        MsgResponder r;
        // Any rental history at all, also returned and paid, keeps a member.
        ms->set_row(row_of(ms, "M001"));
        b1->cmd_del->click();
        QCOMPARE(r.texts, QStringList{"[M001]대여반납내역이 존재하는 회원이므로 삭제할 수 없습니다!"});
        QCOMPARE(shop->count("TB1", "cod='M001'"), 1);

        r.clear();
        r.answer(QMessageBox::No);
        ms->set_row(row_of(ms, "M002"));
        b1->cmd_del->click();
        QCOMPARE(r.texts, QStringList{"[M002]항목을 삭제하시겠습니까?"});
        QCOMPARE(shop->count("TB1", "cod='M002'"), 1);

        // A history check that cannot run deletes nothing and asks nothing.
        r.clear();
        shop->exec("ALTER TABLE TC1 RENAME TO TC1_away");
        TestShop::expect_sql_error();
        b1->cmd_del->click();
        shop->exec("ALTER TABLE TC1_away RENAME TO TC1");
        QCOMPARE(r.texts, QStringList{"삭제실패!"});
        QCOMPARE(shop->count("TB1", "cod='M002'"), 1);
        QCOMPARE(shop->count("TB1_1", "cod='M002'"), 1);

        r.clear();
        ms->set_row(row_of(ms, "M002"));
        b1->cmd_del->click();
        QCOMPARE(r.texts, (QStringList{"[M002]항목을 삭제하시겠습니까?", "삭제완료!"}));
        QCOMPARE(shop->count("TB1", "cod='M002'"), 0);
        QCOMPARE(shop->count("TB1_1", "cod='M002'"), 0);
        QCOMPARE(row_of(ms, "M002"), -1);
        QCOMPARE(shop->count("TB1_1"), 4);

        // While M004 is asked about, another desk rents him an item: the
        // deletion keeps him and the rental.
        r.clear();
        shop->exec("insert into TB4 values ('Y','N','DVD','T1','이름','','','','','',1000,500,'')");
        Connection other;
        QVERIFY(other.open(shop->dir() + "/PGM.mdb", db_password()));
        r.while_shown = [&](const QString& text) {
            if (text == "[M004]항목을 삭제하시겠습니까?")
                QVERIFY(save_rentals(other, "M004", {RentalLine{"2026-12-31", "Y", 1000, "T1"}}, today(), "DESK2", 5));
        };
        ms->set_row(row_of(ms, "M004"));
        b1->cmd_del->click();
        QCOMPARE(r.texts, (QStringList{"[M004]항목을 삭제하시겠습니까?",
                                       "[M004]대여반납내역이 존재하는 회원이므로 삭제할 수 없습니다!"}));
        QCOMPARE(shop->count("TB1", "cod='M004'"), 1);
        QCOMPARE(shop->count("TC1", "m_cod='M004' and p_cod='T1' and e_dat=''"), 1);
        QCOMPARE(shop->scalar("select sta from TB4 where cod='T1'").toString(), QStringLiteral("Y"));
    }

    void buttons_check_rights()
    {
        shop->add_user("CLERK", "1", "11100");
        QVERIFY(shop->login("CLERK", "1"));
        MsgResponder r;
        b1->cmd_del->click();
        b1->cmd_edt->click();
        QCOMPARE(r.texts, (QStringList{"프로그램에서 승인할 수 없는 사용자입니다!", "프로그램에서 승인할 수 없는 사용자입니다!"}));
        QCOMPARE(shop->count("TB1"), 7);
    }

    void list_query_and_filler_stand_alone()
    {
        // The pieces the list is made of, as the timing harness uses them.
        FlexGrid g;
        const Query q = b1_list_query(QStringLiteral("정 회 원"), QStringLiteral("휴 대 폰"), QStringLiteral("1234"), true);
        QCOMPARE(b1_fill_grid(g, q), 3);
        QCOMPARE(g.text(3, 4), QStringLiteral("M005"));
        QCOMPARE(b1_fill_grid(g, b1_list_query(QString(), QStringLiteral("?"), QStringLiteral("M00"), false)), 2);
    }

private:
    void rental(const char* cod, const char* returned, const char* dae_paid, const char* yun_paid)
    {
        shop->exec("insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk) "
                   "values ('2026-01-01','2026-01-04',?,?,'B1',1000,500,?,?)",
                   {QString::fromUtf8(returned), QString::fromUtf8(cod), QString::fromUtf8(dae_paid),
                    QString::fromUtf8(yun_paid)});
    }

    std::unique_ptr<TestShop> shop;
    QPointer<B1> b1;
    FlexGrid* ms = nullptr;
};

QTEST_MAIN(TestMembers)
#include "tst_members.moc"
