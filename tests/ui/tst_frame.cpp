#include "ui/FlexGrid.h"
#include "ui/ListWindow.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <QScrollBar>

namespace {
int tw_w(QWidget* w) { return tw_rect(w).width; }
int tw_l(QWidget* w) { return tw_rect(w).left; }

ListWindow::Frame frame(const char* mode, bool del = true)
{
    ListWindow::Frame f;
    f.mode = QLatin1String(mode);
    f.del = del;
    return f;
}
}

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void mode_all();
    void mode_ext_and_unknown();
    void all_without_delete_button();
    void tiny_window_recovers();
    void wheel_only_over_grid_window();
};

void TestFrame::mode_all()
{
    ListWindow w("B2", "품목분류정보관리", frame("all"));
    w.resize(1000, 700);
    w.show();
    const int fw = px_to_twips(1000), fh = px_to_twips(700);
    QCOMPARE(tw_w(w.fm_mnu), fw - 210);
    QCOMPARE(tw_w(w.fm_grd), fw - 210);
    QCOMPARE(tw_rect(w.fm_grd).height, fh - 60 - 720 - 60);
    QCOMPARE(tw_w(w.fm_sum), fw - 210 - 240);
    QCOMPARE(tw_w(w.ms), fw - 210 - 240);
    QCOMPARE(tw_rect(w.ms).height, tw_rect(w.fm_grd).height - tw_rect(w.ms).top - 120);
    QCOMPARE(tw_l(w.la_usr), tw_w(w.fm_sum) - tw_w(w.la_usr) - 120);

    const int bw = tw_w(w.cmd_ext);
    QCOMPARE(tw_l(w.cmd_ext), tw_w(w.fm_mnu) - bw - 150);
    QCOMPARE(tw_l(w.cmd_del), tw_l(w.cmd_ext) - bw - 60);
    QCOMPARE(tw_l(w.cmd_edt), tw_l(w.cmd_del) - bw - 60);
    QCOMPARE(tw_l(w.cmd_add), tw_l(w.cmd_edt) - bw - 60);
    QCOMPARE(tw_w(w.fm_sub), tw_w(w.fm_mnu) - tw_l(w.fm_sub) - 4 * bw - 3 * 60 - 220);
    QCOMPARE(tw_l(w.cmd_fnd), tw_w(w.fm_sub) - tw_w(w.cmd_fnd) - 120);
    QCOMPARE(tw_w(w.t_ser), tw_w(w.fm_sub) - tw_l(w.t_ser) - tw_w(w.cmd_fnd) - 180);
    // The search bar ends left of the first button.
    QVERIFY(tw_l(w.fm_sub) + tw_w(w.fm_sub) < tw_l(w.cmd_add));

    // Every resize lays it out again.
    w.resize(1400, 900);
    QCOMPARE(tw_w(w.fm_mnu), px_to_twips(1400) - 210);
    QCOMPARE(tw_l(w.cmd_ext), tw_w(w.fm_mnu) - bw - 150);
}

void TestFrame::mode_ext_and_unknown()
{
    ListWindow w("E1", "정회원별거래집계", frame("ext"));
    const int add_left = tw_l(w.cmd_add), edt_left = tw_l(w.cmd_edt), del_left = tw_l(w.cmd_del);
    w.resize(1000, 700);
    w.show();
    const int bw = tw_w(w.cmd_ext);
    QCOMPARE(tw_l(w.cmd_ext), tw_w(w.fm_mnu) - bw - 150);
    QCOMPARE(tw_l(w.cmd_add), add_left);
    QCOMPARE(tw_l(w.cmd_edt), edt_left);
    QCOMPARE(tw_l(w.cmd_del), del_left);
    QCOMPARE(tw_w(w.fm_sub), tw_w(w.fm_mnu) - tw_l(w.fm_sub) - bw - 220);

    ListWindow u("X", "x", frame("none"));
    const int ext_left = tw_l(u.cmd_ext);
    u.resize(1000, 700);
    u.show();
    QCOMPARE(tw_l(u.cmd_ext), ext_left);
    QCOMPARE(tw_w(u.fm_sub), tw_w(u.fm_mnu) - tw_l(u.fm_sub) - 160);
}

void TestFrame::all_without_delete_button()
{
    ListWindow w("A3", "업무내역마감처리", frame("all", false));
    QVERIFY(!w.findChild<QPushButton*>("cmd_del"));
    w.resize(1000, 700);
    w.show();
    const int bw = tw_w(w.cmd_ext);
    QCOMPARE(tw_l(w.cmd_ext), tw_w(w.fm_mnu) - bw - 150);
    // Still placed, right to left, none on top of another.
    QVERIFY(tw_l(w.cmd_edt) + bw <= tw_l(w.cmd_ext));
    QVERIFY(tw_l(w.cmd_add) + bw <= tw_l(w.cmd_edt));
    QCOMPARE(tw_l(w.cmd_add), tw_l(w.cmd_edt) - bw - 60);
    QCOMPARE(tw_w(w.fm_sub), tw_w(w.fm_mnu) - tw_l(w.fm_sub) - 4 * bw - 3 * 60 - 220);
}

void TestFrame::tiny_window_recovers()
{
    ListWindow big("B4", "b", frame("all"));
    big.resize(1100, 800);
    big.show();
    ListWindow w("B4x", "b", frame("all"));
    w.show();
    w.resize(10, 10);
    QApplication::processEvents();
    for (QWidget* c : w.findChildren<QWidget*>()) QVERIFY(c->width() >= 0 && c->height() >= 0);
    w.resize(1100, 800);
    for (const char* n : {"fm_mnu", "fm_sub", "t_ser", "cmd_fnd", "cmd_add", "cmd_ext", "fm_grd", "ms", "la_usr"}) {
        const TwRect a = tw_rect(w.findChild<QWidget*>(n)), b = tw_rect(big.findChild<QWidget*>(n));
        QVERIFY2(a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height, n);
    }
}

void TestFrame::wheel_only_over_grid_window()
{
    ListWindow w("B1", "b", frame("all"));
    w.resize(900, 500);
    w.ms->set_cols(2);
    w.ms->set_redraw(false);
    for (int i = 0; i < 300; ++i) w.ms->add_row();
    w.ms->set_redraw(true);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.ms->wheel_hooked());
    QScrollBar* bar = w.ms->verticalScrollBar();
    bar->setValue(100);
    // Over the summary bar: the grid stays where it is.
    const QPointF at(10, 10);
    QWheelEvent off(at, w.fm_sum->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.fm_sum, &off);
    QCOMPARE(bar->value(), 100);
    QWheelEvent on(at, w.ms->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.ms->viewport(), &on);
    QCOMPARE(bar->value(), 101);
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
