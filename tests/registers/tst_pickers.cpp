// The member and item pickers as the counter screens use them: a caller
// named "C1" or "C2" leaves its query in list_sql, opens the picker modally,
// and gets the chosen code in its box followed by a call of its check slot.
#include "support/fixture.h"
#include "data/state.h"
#include "registers/pop_cst.h"
#include "registers/pop_pdt.h"
#include "ui/FlexGrid.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

class Caller : public QDialog {
    Q_OBJECT
public:
    explicit Caller(const QString& name)
    {
        setObjectName(name);
        t_m_cod = new QLineEdit(this);
        t_m_cod->setObjectName(QStringLiteral("t_m_cod"));
        t_p_cod = new QLineEdit(this);
        t_p_cod->setObjectName(QStringLiteral("t_p_cod"));
    }
    QLineEdit* t_m_cod;
    QLineEdit* t_p_cod;
    QStringList log;
    int result = -1;

    void pick_member(const QString& chk)
    {
        pop_cst p(this);
        p.t_chk->setText(chk);
        result = p.exec();
        log << QStringLiteral("back");
    }
    void pick_item(const QString& chk)
    {
        pop_pdt p(this);
        p.t_chk->setText(chk);
        result = p.exec();
        log << QStringLiteral("back");
    }

public slots:
    void mem_chk() { log << QStringLiteral("mem_chk %1 %2").arg(t_m_cod->text(), picker_state()); }
    void pdt_chk() { log << QStringLiteral("pdt_chk %1 %2").arg(t_p_cod->text(), picker_state()); }

private:
    QString picker_state() const
    {
        for (QDialog* d : findChildren<QDialog*>())
            if (qobject_cast<PickerDialog*>(d) && d->isVisible()) return QStringLiteral("open");
        return QStringLiteral("closed");
    }
};

namespace {
void member_search(const QString& part)
{
    list_sql = Query("select * from TB1 where act='Y' and nam like ? order by cod", {"%" + part + "%"});
}

FlexGrid* grid(QWidget* d) { return d->findChild<FlexGrid*>(QStringLiteral("ms")); }

void dbl_click_row(FlexGrid* g, int r)
{
    const QRect cell = g->visualRect(g->model()->index(r - 1, 3));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}
}

class TestPickers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(shop.ok());
        QVERIFY(shop.login_admin());
        shop.add_member(QStringLiteral("M0001"), QStringLiteral("김철수"));
        shop.add_member(QStringLiteral("m0002 "), QStringLiteral("김영희"), QStringLiteral("B"));
        shop.add_member(QStringLiteral("M0003"), QStringLiteral("박민수"));
        shop.add_member(QStringLiteral("M0004"), QStringLiteral("김사용안함"), QStringLiteral("A"), QStringLiteral("N"));
        shop.add_category(QStringLiteral("DVD"));
        shop.add_item(QStringLiteral("B0000001"), QStringLiteral("DVD"), 1500, 12000);
        shop.add_item(QStringLiteral("B0000002"), QStringLiteral("DVD"), 1000, 500, QStringLiteral("Y"),
                      QStringLiteral("Y"));
        shop.add_item(QStringLiteral("B0000003"), QStringLiteral("DVD"), 1000, 500, QStringLiteral("Y"),
                      QStringLiteral(""));
    }

    void member_chosen_by_enter_and_double_click()
    {
        member_search(QStringLiteral("김"));
        {
            Caller c(QStringLiteral("C1"));
            c.show();
            int rows = 0;
            QString head;
            when_dialog_shows(QStringLiteral("pop_cst"), [&](QWidget* d) {
                FlexGrid* g = grid(d);
                rows = g->rows();
                head = g->text(0, 4);
                g->set_row(2);
                QTest::keyClick(g, Qt::Key_Return);
            });
            c.pick_member(QStringLiteral("C1"));
            QCOMPARE(rows, 3);
            QCOMPARE(head, QStringLiteral("회 원 명"));
            // The code exactly as stored (not cleaned, not upper-cased), the
            // picker closed before the caller's check ran, and ran once.
            QCOMPARE(c.log, (QStringList{QStringLiteral("mem_chk m0002  closed"), QStringLiteral("back")}));
            QCOMPARE(c.result, int(QDialog::Accepted));
        }
        {
            Caller c(QStringLiteral("C2"));
            c.show();
            when_dialog_shows(QStringLiteral("pop_cst"), [&](QWidget* d) { dbl_click_row(grid(d), 1); });
            c.pick_member(QStringLiteral("C2"));
            QCOMPARE(c.log, (QStringList{QStringLiteral("mem_chk M0001 closed"), QStringLiteral("back")}));
        }
    }

    void member_empty_result_and_escape_keep_typed_text()
    {
        member_search(QStringLiteral("없는이름"));
        Caller c(QStringLiteral("C1"));
        c.show();
        c.t_m_cod->setText(QStringLiteral("없는이름"));
        bool open_after_choice = false;
        int rows = -1;
        when_dialog_shows(QStringLiteral("pop_cst"), [&](QWidget* d) {
            FlexGrid* g = grid(d);
            rows = g->rows();
            QTest::keyClick(g, Qt::Key_Return);
            emit g->DblClick();
            open_after_choice = d->isVisible();
            QTest::keyClick(g, Qt::Key_Escape);
        });
        c.pick_member(QStringLiteral("C1"));
        QCOMPARE(rows, 1);
        QVERIFY(open_after_choice);
        QCOMPARE(c.result, int(QDialog::Rejected));
        QCOMPARE(c.t_m_cod->text(), QStringLiteral("없는이름"));
        QCOMPARE(c.log, QStringList{QStringLiteral("back")});
    }

    void escape_with_rows_keeps_typed_text_and_unknown_caller_does_nothing()
    {
        member_search(QStringLiteral("김"));
        Caller c(QStringLiteral("C1"));
        c.show();
        c.t_m_cod->setText(QStringLiteral("김"));
        bool open_after_choice = false;
        when_dialog_shows(QStringLiteral("pop_cst"), [&](QWidget* d) {
            FlexGrid* g = grid(d);
            auto* chk = d->findChild<QLineEdit*>(QStringLiteral("t_chk"));
            chk->setText(QStringLiteral("c1"));   // the caller's name must match exactly
            QTest::keyClick(g, Qt::Key_Return);
            open_after_choice = d->isVisible();
            QTest::keyClick(g, Qt::Key_Escape);
        });
        c.pick_member(QStringLiteral("C1"));
        QVERIFY(open_after_choice);
        QCOMPARE(c.t_m_cod->text(), QStringLiteral("김"));
        QCOMPARE(c.log, QStringList{QStringLiteral("back")});
    }

    void each_opening_runs_the_current_query_and_a_failing_one_shows_nothing()
    {
        Caller c(QStringLiteral("C1"));
        c.show();
        QStringList seen;
        auto look = [&](QWidget* d) {
            FlexGrid* g = grid(d);
            seen << QString::number(g->rows() - 1) + ":" + (g->rows() > 1 ? g->text(1, 3) : QString());
            QTest::keyClick(g, Qt::Key_Escape);
        };
        member_search(QStringLiteral("박"));
        when_dialog_shows(QStringLiteral("pop_cst"), look);
        c.pick_member(QStringLiteral("C1"));
        member_search(QStringLiteral("김"));
        when_dialog_shows(QStringLiteral("pop_cst"), look);
        c.pick_member(QStringLiteral("C1"));
        list_sql = Query("select * from no_such_table");
        TestShop::expect_sql_error();
        when_dialog_shows(QStringLiteral("pop_cst"), look);
        c.pick_member(QStringLiteral("C1"));
        QCOMPARE(seen, (QStringList{QStringLiteral("1:M0003"), QStringLiteral("2:M0001"), QStringLiteral("0:")}));
    }

    void narrow_window_keeps_last_column_wide()
    {
        member_search(QStringLiteral("김"));
        Caller c(QStringLiteral("C1"));
        c.show();
        int last = 0;
        when_dialog_shows(QStringLiteral("pop_cst"), [&](QWidget* d) {
            d->resize(200, 200);
            QCoreApplication::processEvents();
            last = grid(d)->col_width(8);
            QTest::keyClick(grid(d), Qt::Key_Escape);
        });
        c.pick_member(QStringLiteral("C1"));
        QCOMPARE(last, 2500);
    }

    void item_state_checked_against_the_caller()
    {
        list_sql = Query("select * from TB4 where act='Y' and cod like ? order by cod", {"%B0%"});
        MsgResponder r;
        {
            // A rental takes only an item in stock.
            Caller c(QStringLiteral("C1"));
            c.show();
            QStringList cells;
            when_dialog_shows(QStringLiteral("pop_pdt"), [&](QWidget* d) {
                FlexGrid* g = grid(d);
                for (int row = 1; row < g->rows(); ++row) cells << g->text(row, 1);
                cells << g->text(0, 4) << g->text(1, 10) << g->text(1, 11) << g->text(1, 5);
                g->set_row(3);   // sta '' counts as rented out
                QTest::keyClick(g, Qt::Key_Return);
                g->set_row(2);
                QTest::keyClick(g, Qt::Key_Return);
                if (d->isVisible()) {
                    g->set_row(1);
                    QTest::keyClick(g, Qt::Key_Return);
                }
            });
            c.pick_item(QStringLiteral("C1"));
            QCOMPARE(cells, (QStringList{"○", "●", "●", "품명", "1,500", "12,000", "규격"}));
            QCOMPARE(r.texts, (QStringList{"현재 대여중인 바코드입니다!", "현재 대여중인 바코드입니다!"}));
            QCOMPARE(c.log, (QStringList{"pdt_chk B0000001 closed", "back"}));
        }
        r.clear();
        {
            // A return takes only an item that is out.
            Caller c(QStringLiteral("C2"));
            c.show();
            when_dialog_shows(QStringLiteral("pop_pdt"), [&](QWidget* d) {
                FlexGrid* g = grid(d);
                g->set_row(1);
                QTest::keyClick(g, Qt::Key_Return);
                dbl_click_row(g, 2);
            });
            c.pick_item(QStringLiteral("C2"));
            QCOMPARE(r.texts, QStringList{"현재 재고상태인 바코드입니다!"});
            QCOMPARE(c.log, (QStringList{"pdt_chk B0000002 closed", "back"}));
        }
    }

    void item_empty_result_closes_on_escape()
    {
        list_sql = Query("select * from TB4 where cod like ?", {"%ZZZ%"});
        Caller c(QStringLiteral("C1"));
        c.show();
        c.t_p_cod->setText(QStringLiteral("ZZZ"));
        int rows = -1;
        when_dialog_shows(QStringLiteral("pop_pdt"), [&](QWidget* d) {
            rows = grid(d)->rows();
            QTest::keyClick(grid(d), Qt::Key_Return);
            QTest::keyClick(grid(d), Qt::Key_Escape);
        });
        c.pick_item(QStringLiteral("C1"));
        QCOMPARE(rows, 1);
        QCOMPARE(c.t_p_cod->text(), QStringLiteral("ZZZ"));
        QCOMPARE(c.log, QStringList{QStringLiteral("back")});
    }

private:
    TestShop shop;
};

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
