// The member dialog: registering and editing members, and the annual
// periods of a regular member, driven from the member list.
#include "support/fixture.h"
#include "support/driving.h"
#include "data/clock.h"
#include "data/state.h"
#include "registers/B1.h"
#include "registers/B1_add_edt.h"
#include "ui/FlexGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
void dbl_click(FlexGrid* g, int r) { dbl_click_cell(g, r, 1); }
}

class TestMemberDialog : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        shop = std::make_unique<TestShop>();
        QVERIFY(shop->ok());
        QVERIFY(shop->login_admin());
        set_today(QDate(2028, 1, 10));
    }

    void cleanup()
    {
        delete b1.data();
        shop.reset();
    }

    void registers_members_with_their_first_period()
    {
        shop->add_member("OLD1", "기존");
        open_list();
        MsgResponder r;
        QStringList state;
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            state << d->t_c_dat->text() << QString::number(d->fm1->isEnabled()) << QString::number(d->t_s_dat->isVisible());
            // Enter walks the boxes down to the save button, which it does not press.
            d->t_c_dat->setFocus();
            for (int i = 0; i < 7; ++i) press_enter(d->focusWidget());
            state << d->focusWidget()->objectName();
            // The box admits m_cod_cnt characters; the code is upper-cased and cleaned.
            QTest::keyClicks(d->t_cod, "ab'12345");
            state << d->t_cod->text();
            type_text(d->t_nam, QStringLiteral("홍길동"));
            d->Check1->setChecked(true);
            d->cmd_chk->click();
            // The dialog stays open for the next member, keeping kind, date and Check1.
            state << d->t_cod->text() << d->t_nam->text() << QString::number(d->Check1->isChecked())
                  << d->t_c_dat->text() << QString::number(d->isVisible());

            d->op_1->setChecked(true);
            QTest::keyClicks(d->t_cod, "n001");
            d->cmd_chk->click();
            d->op_0->setChecked(true);
            d->Check1->setChecked(false);
            QTest::keyClicks(d->t_cod, "r001");
            d->cmd_chk->click();
            const int before = r.texts.size();
            // Refusals come before the question.
            QTest::keyClicks(d->t_cod, "old1");
            d->cmd_chk->click();
            d->t_cod->clear();
            d->cmd_chk->click();
            d->t_c_dat->setText(QStringLiteral("2028-02-30"));
            QTest::keyClicks(d->t_cod, "X1");
            d->cmd_chk->click();
            state << r.texts.mid(before);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_add->click();
        QCOMPARE(state, (QStringList{"2028-01-10", "0", "0", "cmd_chk", "ab'123", "", "", "1", "2028-01-10", "1",
                                     "동일한 회원코드가 존재합니다!", "회원코드가 비어 있습니다!",
                                     "가입일이 올바르지 않습니다!"}));
        QCOMPARE(r.texts.mid(0, 6), (QStringList{"작성한 내용을 등록하시겠습니까?", "등록완료!",
                                                 "작성한 내용을 등록하시겠습니까?", "등록완료!",
                                                 "작성한 내용을 등록하시겠습니까?", "등록완료!"}));
        QCOMPARE(shop->rows("select act,gbn,dat,nam from TB1 where cod='AB123'"),
                 (QList<QVariantList>{{"Y", "A", "2028-01-10", "홍길동"}}));
        // 2028 is a leap year: 365 days on from 10 January is 9 January.
        QCOMPARE(shop->rows("select s_dat,e_dat,mon,chm from TB1_1 where cod='AB123'"),
                 (QList<QVariantList>{{"2028-01-10", "2029-01-09", 30000, ""}}));
        QCOMPARE(shop->count("TB1_1", "cod='N001'"), 0);
        QCOMPARE(shop->rows("select mon from TB1_1 where cod='R001'"), (QList<QVariantList>{{0}}));
        // The list was reloaded when the dialog closed.
        QVERIFY(row_of(b1->ms, "AB123") > 0);
    }

    void failed_duplicate_check_stores_nothing()
    {
        open_list();
        MsgResponder r;
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            QTest::keyClicks(d->t_cod, "Z001");
            shop->exec("ALTER TABLE TB1 RENAME TO TB1_away");
            TestShop::expect_sql_error();
            d->cmd_chk->click();
            shop->exec("ALTER TABLE TB1_away RENAME TO TB1");
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_add->click();
        QCOMPARE(r.texts, QStringList{"등록실패!"});
        QCOMPARE(shop->count("TB1"), 0);
    }

    void edits_the_member_of_the_row_as_it_came()
    {
        // A code longer than the setting (loaded from elsewhere) is still its key.
        shop->add_member("LONGCODE9", "옛이름", "B");
        shop->add_member("LONGCODE", "다른회원", "B");
        open_list();
        MsgResponder r;
        QStringList seen;
        b1->ms->set_row(row_of(b1->ms, "LONGCODE9"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            seen << d->t_cod->text() << QString::number(d->t_cod->isEnabled()) << QString::number(d->op_1->isChecked());
            d->t_nam->setText(QStringLiteral("새'이름"));
            d->op_0->setChecked(true);
            d->cmd_chk->click();
            seen << QString::number(d->isVisible());
        });
        b1->cmd_edt->click();
        QCOMPARE(seen, (QStringList{"LONGCODE9", "0", "1", "0"}));
        QCOMPARE(r.texts, (QStringList{"작성한 내용을 수정하시겠습니까?", "수정완료!"}));
        QCOMPARE(shop->rows("select gbn,nam from TB1 where cod='LONGCODE9'"), (QList<QVariantList>{{"A", "새이름"}}));
        QCOMPARE(shop->rows("select gbn,nam from TB1 where cod='LONGCODE'"), (QList<QVariantList>{{"B", "다른회원"}}));
        // A change of kind touches no period.
        QCOMPARE(shop->count("TB1_1"), 0);
        QCOMPARE(b1->ms->text(row_of(b1->ms, "LONGCODE9"), 5), QStringLiteral("새이름"));
    }

    void selected_option_clicked_again_stays()
    {
        open_list();
        MsgResponder r;
        QStringList seen;
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            // "(A)정회원" and the period's "예" are both selected; clicking either
            // again leaves both pairs as they are.
            d->op_0->click();
            d->Option1->click();
            seen << QString::number(d->op_0->isChecked()) << QString::number(d->op_1->isChecked())
                 << QString::number(d->Option1->isChecked()) << QString::number(d->Option2->isChecked());
            d->op_1->click();
            d->op_0->click();
            d->op_0->click();
            seen << QString::number(d->op_0->isChecked()) << QString::number(d->Option1->isChecked());
            QTest::keyClicks(d->t_cod, "a001");
            type_text(d->t_nam, QStringLiteral("정회원"));
            d->Check1->setChecked(true);
            d->cmd_chk->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_add->click();
        QCOMPARE(seen, (QStringList{"1", "0", "1", "0", "1", "1"}));
        QCOMPARE(r.texts, (QStringList{"작성한 내용을 등록하시겠습니까?", "등록완료!"}));
        QCOMPARE(shop->rows("select gbn from TB1 where cod='A001'"), (QList<QVariantList>{{"A"}}));
        QCOMPARE(shop->rows("select s_dat,mon from TB1_1 where cod='A001'"),
                 (QList<QVariantList>{{"2028-01-10", 30000}}));
    }

    void periods_added_and_changed_across_a_leap_day()
    {
        shop->add_member("P001", "기간회원");
        shop->add_period("P001", "2027-03-01", "2028-02-29", 0);
        open_list();
        MsgResponder r;
        QStringList seen;
        b1->ms->set_row(row_of(b1->ms, "P001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            FlexGrid* g = d->ms;
            seen << d->t_s_dat->text() << d->t_e_dat->text() << QString::number(g->rows() - 1) << g->text(1, 3);
            d->t_s_dat->setText(QStringLiteral("2028-02-29"));
            seen << d->t_e_dat->text();
            // The end is the program's: typing into it changes nothing.
            QTest::keyClicks(d->t_e_dat, "x");
            seen << d->t_e_dat->text() << QString::number(d->t_e_dat->isReadOnly());
            d->Command1->click();   // the earlier period is unpaid

            dbl_click(g, 1);
            seen << d->t_s_dat->text() << d->t_e_dat->text() << QString::number(d->Option2->isChecked())
                 << QString::number(d->Command1->isEnabled()) << QString::number(d->Command3->isEnabled());
            d->Option1->setChecked(true);
            d->t_chm->setText(QStringLiteral("a'b"));
            d->Command2->click();
            seen << g->text(1, 3) << QString::number(d->Command1->isEnabled()) << d->t_s_dat->text();

            d->t_s_dat->setText(QStringLiteral("2027-01-01"));
            d->Command1->click();
            d->t_s_dat->setText(QStringLiteral("2027-03-01"));
            d->Command1->click();
            d->t_s_dat->setText(QStringLiteral("2028-02-30"));
            d->Command1->click();
            d->t_s_dat->setText(QStringLiteral("2028-02-29"));
            d->Option2->setChecked(true);
            d->t_chm->setText(QStringLiteral("O'Neil 메모"));
            d->Command1->click();
            seen << QString::number(g->rows() - 1);
            QTest::keyClick(g, Qt::Key_Escape);
        });
        b1->cmd_edt->click();
        QCOMPARE(seen, (QStringList{"2028-01-10", "2029-01-09", "1", "0", "2029-02-28", "2029-02-28", "1",
                                    "2027-03-01", "2028-02-29", "1", "0", "1", "30,000", "1", "2028-01-10", "2"}));
        QCOMPARE(r.texts, (QStringList{"결제되지 않은 이전데이터가 존재합니다!", "연회원정보수정완료!",
                                       "등록된 데이터보다 만료일이 더 작습니다!", "등록된 데이터가 이미 존재합니다!",
                                       "시작일이 올바르지 않습니다!", "연회원정보등록완료!"}));
        QCOMPARE(shop->rows("select s_dat,e_dat,mon,chm from TB1_1 where cod='P001' order by idx"),
                 (QList<QVariantList>{{"2027-03-01", "2028-02-29", 30000, "ab"},
                                      {"2028-02-29", "2029-02-28", 0, "O'Neil 메모"}}));
        // Closing after the writes reloaded the list.
        const int row = row_of(b1->ms, "P001");
        QCOMPARE(b1->ms->text(row, 9), QStringLiteral("2028-02-29"));
        QCOMPARE(b1->ms->text(row, 11), QStringLiteral("●"));
    }

    void no_period_for_a_member_deleted_meanwhile()
    {
        shop->add_member("G001", "떠난회원");
        shop->add_period("G001", "2027-01-10", "2028-01-10", 30000);
        open_list();
        MsgResponder r;
        b1->ms->set_row(row_of(b1->ms, "G001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            // Another desk deletes him with his period while his dialog is open.
            Connection other;
            if (other.open(shop->dir() + "/PGM.mdb", db_password())) {
                other.execute(Query("delete from TB1 where cod='G001'"));
                other.execute(Query("delete from TB1_1 where cod='G001'"));
            }
            d->t_s_dat->setText(QStringLiteral("2028-01-10"));
            d->Command1->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_edt->click();
        QCOMPARE(r.texts, QStringList{"연회원정보등록실패!"});
        QCOMPARE(shop->count("TB1_1"), 0);
    }

    void only_the_newest_period_is_deleted()
    {
        shop->add_member("D001", "삭제회원");
        shop->exec("insert into TB1_1 (idx,cod,s_dat,e_dat,mon,chm) values (9,'D001','2025-01-01','2026-01-01',30000,'')");
        shop->exec("insert into TB1_1 (idx,cod,s_dat,e_dat,mon,chm) values (10,'D001','2026-01-01','2027-01-01',30000,'')");
        shop->add_member("N001", "비회원", "B");
        open_list();
        MsgResponder r;
        b1->ms->set_row(row_of(b1->ms, "D001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            dbl_click(d->ms, 1);   // idx 9: idx 10 comes after it
            d->Command3->click();
            dbl_click(d->ms, 2);   // idx 10, the newest
            d->Command3->click();
            dbl_click(d->ms, 1);   // the last one left
            d->Command3->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_edt->click();
        QCOMPARE(r.texts, (QStringList{"삭제할 데이터보다 이후의 데이터가 존재합니다!", "현재내역을 삭제하시겠습니까?",
                                       "연회원정보삭제완료!", "정회원의 정보가 하나이므로 삭제할 수 없습니다!"}));
        QCOMPARE(shop->rows("select idx from TB1_1"), (QList<QVariantList>{{9}}));

        // A non-member gets no period.
        r.clear();
        b1->ms->set_row(row_of(b1->ms, "N001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            d->Command1->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_edt->click();
        QCOMPARE(r.texts, QStringList{"비회원은 연회비 결제처리 작업을 할 수 없습니다!"});
        QCOMPARE(shop->count("TB1_1", "cod='N001'"), 0);
    }

    void texts_longer_than_a_box_survive_an_edit_of_another_field()
    {
        // Loaded from a workbook: texts far past what a line edit holds, and
        // signs the cleaning of a typed text would drop.
        const auto long_text = [](QChar c, int n, const QString& end) { return QString(n - end.size(), c) + end; };
        const QString nam = QStringLiteral("-") + long_text(QChar(0xAE40), 39'664, QStringLiteral("끝이름"));
        const QString adr = QStringLiteral("서울특별시 강남구 테헤란로 152 ") + long_text(QChar(0xC8FC), 93'000, QStringLiteral("2101호"));
        const QString big = long_text(QChar('x'), 64'446, QStringLiteral("O'Neil"));
        const QString chm = long_text(QChar(0xBA54), 40'000, QStringLiteral("메모끝"));
        shop->add_member("L001", "임시");
        shop->exec("update TB1 set nam=?, adr=?, big=? where cod='L001'", {nam, adr, big});
        shop->exec("insert into TB1_1 (cod,s_dat,e_dat,mon,chm) values ('L001','2027-06-01','2028-05-31',30000,?)", {chm});
        open_list();
        MsgResponder r;
        QList<int> caret_left;
        b1->ms->set_row(row_of(b1->ms, "L001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            // A filled box shows its text from the start, not from its end.
            for (QLineEdit* b : {d->t_nam, d->t_adr, d->t_big}) {
                b->grab();   // lays the box out as a paint does
                caret_left << b->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
            }
            d->t_tel->setText(QStringLiteral("02-555-0101"));
            d->cmd_chk->click();
        });
        b1->cmd_edt->click();
        for (int x : caret_left) QVERIFY2(x < 10, qPrintable(QString::number(x)));
        QCOMPARE(r.texts, (QStringList{"작성한 내용을 수정하시겠습니까?", "수정완료!"}));
        QCOMPARE(shop->rows("select nam=?, adr=?, big=?, tel from TB1 where cod='L001'", {nam, adr, big}),
                 (QList<QVariantList>{{1, 1, 1, "02-555-0101"}}));

        // The period's remark likewise, when only its payment changes.
        r.clear();
        b1->ms->set_row(row_of(b1->ms, "L001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            dbl_click(d->ms, 1);
            d->Option2->setChecked(true);
            d->Command2->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        b1->cmd_edt->click();
        QCOMPARE(r.texts, QStringList{"연회원정보수정완료!"});
        QCOMPARE(shop->rows("select chm=?, mon from TB1_1 where cod='L001'", {chm}), (QList<QVariantList>{{1, 0}}));

        // A changed box that could not hold its whole text is saved only when
        // the clerk agrees to lose the rest.
        const QString drop = QStringLiteral("원래 내용이 입력란에 다 들어가지 않는 항목을 수정하였습니다!\n저장하면 입력란에 보이는 내용만 남고 나머지는 지워집니다. 저장하시겠습니까?");
        r.clear();
        r.answer(QMessageBox::No);
        b1->ms->set_row(row_of(b1->ms, "L001"));
        when_dialog_shows("B1_add_edt", [&](QWidget* w) {
            auto* d = static_cast<B1_add_edt*>(w);
            d->t_nam->setCursorPosition(1);
            d->t_nam->del();
            d->cmd_chk->click();
            QVERIFY(d->isVisible());
            // Refused, the box stays as the clerk left it, its undo included.
            QCOMPARE(d->t_nam->text().size(), 32'766);
            QVERIFY(d->t_nam->text().startsWith(u'-'));
            QVERIFY(d->t_nam->isUndoAvailable());
            d->cmd_chk->click();
        });
        b1->cmd_edt->click();
        QCOMPARE(r.texts, (QStringList{drop, drop, "작성한 내용을 수정하시겠습니까?", "수정완료!"}));
        // The box's 32,767 characters, one deleted, and the leading sign that
        // the cleaning of a changed text drops.
        QCOMPARE(shop->rows("select length(nam), adr=?, big=? from TB1 where cod='L001'", {adr, big}),
                 (QList<QVariantList>{{32'765, 1, 1}}));
    }

private:
    void open_list()
    {
        b1 = new B1;
        b1->show();
        QVERIFY(QTest::qWaitForWindowExposed(b1));
    }

    std::unique_ptr<TestShop> shop;
    QPointer<B1> b1;
};

QTEST_MAIN(TestMemberDialog)
#include "tst_members_dialog.moc"
