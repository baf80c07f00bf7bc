// What the clerk sees: the look the main window installs (font, grid
// padding, Korean buttons, password stars, focus, icon), disabled frames,
// dialog placement and the summary bar of a narrow list window.
#include "support/fixture.h"
#include "support/driving.h"
#include "counter/C1.h"
#include "counter/CA.h"
#include "counter/tst_rental_support.h"
#include "data/state.h"
#include "registers/pop_cst.h"
#include "shell/A_main.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/look.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QTableView>
#include <QToolButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {
// The darkest grey level of a widget's picture: text drawn in the normal
// colour is near black, disabled text is pale.
int darkest(QWidget* w)
{
    const QImage img = w->grab().toImage();
    int dark = 255;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) dark = std::min(dark, qGray(img.pixel(x, y)));
    return dark;
}

bool same_disabled_as_active(QWidget* w, QPalette::ColorRole role)
{
    return w->palette().color(QPalette::Disabled, role) == w->palette().color(QPalette::Active, role);
}

// Every digit in the place of each digit of the text ("9" for 999,999,999).
QStringList all_digits(const QString& pattern)
{
    QStringList out;
    for (char d = '0'; d <= '9'; ++d) {
        QString s = pattern;
        for (QChar& c : s)
            if (c.isDigit()) c = QLatin1Char(d);
        out << s;
    }
    return out;
}
}

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void font_fits_dates_and_amounts();
    void question_box_speaks_korean();
    void password_shows_stars();
    void focus_shows_on_buttons();
    void window_icon_is_the_programs();
    void disabled_frame_keeps_colours();
    void member_panel_stays_readable();
    void open_rentals_all_visible();
    void dialogs_open_centred();
    void narrow_summary_bar_gives_way();
};

void TestLook::initTestCase()
{
    // The main window installs the look; a second one changes nothing.
    TestShop shop;
    A_main w;
    const QString style = QApplication::style()->objectName();
    install_look();
    QCOMPARE(QApplication::style()->objectName(), style);

    // A date box in the first main window, made before its look, opens a
    // calendar with Korean month and weekday names.
    QDateEdit* d = date_picker(&w, "t_date1");
    d->setDate(QDate(2026, 12, 8));
    w.show();
    QCalendarWidget* cal = d->calendarWidget();
    auto* month = cal->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(month);
    QCOMPARE(month->text(), QStringLiteral("12월"));
    auto* days = cal->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    QVERIFY(days);
    QStringList weekdays;
    for (int c = 0; c < days->model()->columnCount(); ++c)
        weekdays << days->model()->index(0, c).data().toString();
    QCOMPARE(weekdays, QStringList({"일", "월", "화", "수", "목", "금", "토"}));
}

void TestLook::font_fits_dates_and_amounts()
{
    fill_col_w();
    QVERIFY(QFontInfo(QApplication::font()).family().startsWith(QLatin1String("Nanum")));
    FlexGrid g;
    const QFontMetrics fm(g.font());
    // A date in the standard date column, a subtotal label "(date)" of the
    // history in its date column, a nine-digit fee in the fee column.
    for (const QString& s : all_digits(QStringLiteral("2026-12-08")))
        QVERIFY2(fm.horizontalAdvance(s) <= FlexGrid::text_room(col_w[1]), qPrintable(s));
    // A member without periods shows this in the same columns.
    QVERIFY(fm.horizontalAdvance(QStringLiteral("####-##-##")) <= FlexGrid::text_room(col_w[1]));
    for (const QString& s : all_digits(QStringLiteral("(2026-12-08)")))
        QVERIFY2(fm.horizontalAdvance(s) <= FlexGrid::text_room(col_w[1] + 150), qPrintable(s));
    for (const QString& s : all_digits(QStringLiteral("999,999,999")))
        QVERIFY2(fm.horizontalAdvance(s) <= FlexGrid::text_room(col_w[16]), qPrintable(s));
    // The room is the column less its grid line and the grid's own padding.
    QCOMPARE(FlexGrid::text_room(1060), twips_to_px(1060) - 1 - 2 * FlexGrid::cell_padding);
}

void TestLook::question_box_speaks_korean()
{
    TestShop shop;
    A_main w;
    QStringList captions;
    int width = 0;
    when_dialog_shows("msg_box", [&](QWidget* d) {
        auto* box = static_cast<QMessageBox*>(d);
        for (QAbstractButton* b : box->buttons()) captions << b->text().remove(QLatin1Char('&'));
        width = box->width();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!msg_ask(&w, QStringLiteral("작성한 내용을 등록하시겠습니까?")));
    captions.sort();
    QCOMPARE(captions.size(), 2);
    QVERIFY2(captions[0].startsWith(QStringLiteral("아니요")), qPrintable(captions.join(',')));
    QVERIFY2(captions[1].startsWith(QStringLiteral("예")), qPrintable(captions.join(',')));

    // A two-word notice is still wide enough for the title and the title
    // bar's buttons.
    captions.clear();
    when_dialog_shows("msg_box", [&](QWidget* d) {
        auto* box = static_cast<QMessageBox*>(d);
        captions << box->buttons().first()->text();
        width = box->width();
        box->buttons().first()->click();
    });
    msg_info(&w, QStringLiteral("저장완료!"));
    QCOMPARE(captions, QStringList{QStringLiteral("확인")});
    QFont title_font = QApplication::font();
    title_font.setBold(true);
    title_font.setPointSizeF(title_font.pointSizeF() * 1.2);
    QVERIFY(width >= QFontMetrics(title_font).horizontalAdvance(msg_title) + 100);
}

void TestLook::password_shows_stars()
{
    TestShop shop;
    A_main w;
    w.t_pas->setText(QStringLiteral("secret"));
    QCOMPARE(w.t_pas->displayText(), QStringLiteral("******"));
}

void TestLook::focus_shows_on_buttons()
{
    TestShop shop;
    A_main w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QImage before = w.cmd_ok->grab().toImage();
    // Enter walks to the button: no Tab, yet the focus shows.
    w.t_pas->setFocus();
    QTest::keyClick(w.t_pas, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cmd_ok);
    QVERIFY(w.cmd_ok->grab().toImage() != before);

    QCheckBox box(QStringLiteral("연체된내역만"));
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    const QImage plain = box.grab().toImage();
    box.setFocus();
    QVERIFY(box.hasFocus());
    QVERIFY(box.grab().toImage() != plain);
}

void TestLook::window_icon_is_the_programs()
{
    TestShop shop;
    A_main w;
    const QImage own = QIcon(k_icon_path).pixmap(32, 32).toImage();
    QVERIFY(!own.isNull());
    QCOMPARE(w.windowIcon().pixmap(32, 32).toImage(), own);
    QCOMPARE(QApplication::windowIcon().pixmap(32, 32).toImage(), own);
}

void TestLook::disabled_frame_keeps_colours()
{
    QGroupBox frame(QStringLiteral("회원정보"));
    auto* name = new QLabel(QStringLiteral("홍길동"), &frame);
    auto* box = new QLineEdit(QStringLiteral("M0001"), &frame);
    box->move(0, 40);
    auto* off = new QPushButton(QStringLiteral("수정"), &frame);   // disabled on its own
    off->move(0, 80);
    off->setEnabled(false);
    keep_look_when_disabled(&frame);
    frame.show();
    const int normal_dark = darkest(name);

    frame.setEnabled(false);
    QVERIFY(!name->isEnabled() && !box->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(&frame), static_cast<QWidget*>(name)})
        QVERIFY(same_disabled_as_active(w, QPalette::WindowText));
    QVERIFY(same_disabled_as_active(box, QPalette::Text));
    QVERIFY(same_disabled_as_active(box, QPalette::Base));
    QCOMPARE(darkest(name), normal_dark);
    // The control disabled on its own still looks disabled.
    QVERIFY(!same_disabled_as_active(off, QPalette::ButtonText));

    // Enabled again: the frame's controls as before; the one still off stays pale.
    frame.setEnabled(true);
    QVERIFY(!same_disabled_as_active(off, QPalette::ButtonText));
    off->setEnabled(true);
    frame.setEnabled(false);
    QVERIFY(same_disabled_as_active(off, QPalette::ButtonText));
    // Input is blocked all the same.
    QTest::keyClicks(box, "X");
    QCOMPARE(box->text(), QStringLiteral("M0001"));
}

void TestLook::member_panel_stays_readable()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("M0001", "홍길동");
    shop.add_period("M0001", dstr(-30), dstr(300), 30000);
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "M0001");
    QVERIFY(!d.fm_m->isEnabled());
    QCOMPARE(d.t_m_nam->text(), QStringLiteral("홍길동"));
    QVERIFY(same_disabled_as_active(d.t_m_nam, QPalette::Text));
    QVERIFY(same_disabled_as_active(d.la_m_inf, QPalette::WindowText));
    QVERIFY(same_disabled_as_active(d.ms_m->viewport(), QPalette::Text));
    QVERIFY2(darkest(d.t_m_nam) < 60, "the member's name is drawn in the normal text colour");
    // The rental part, disabled in the member stage, reads the same.
    d.cmd_clr->click();
    QVERIFY(!d.fm_p->isEnabled());
    QVERIFY(same_disabled_as_active(d.t_p_sum, QPalette::Text));
}

void TestLook::open_rentals_all_visible()
{
    TestShop shop;
    open_shop(shop);
    QCOMPARE(max_cnt, 5);
    shop.add_member("M0001", "홍길동");
    shop.add_period("M0001", dstr(-30), dstr(300), 30000);
    for (int i = 1; i <= 5; ++i) {
        const QString code = QStringLiteral("P%1").arg(i);
        shop.add_item(code, "DVD");
        add_rental(shop, "M0001", code, dstr(-i), dstr(3 - i));
    }
    C1 d;
    d.form_load();
    d.show();
    enter_member(d, "M0001");
    for (FlexGrid* g : {d.ms_m, d.ms_p}) {
        QCOMPARE(g->rows(), 6);
        const int last = g->model()->rowCount() - 1;
        QVERIFY(g->rowViewportPosition(last) >= 0);
        QVERIFY2(g->rowViewportPosition(last) + g->rowHeight(last) <= g->viewport()->height(),
                 qPrintable(g->objectName()));
    }
    QCOMPARE(d.ms_m->row_height(1), 400);
    QCOMPARE(d.ms_m->rowHeight(0), twips_to_px(400));

    // More rows than the height allows at 400 twips: lower rows, all shown.
    max_cnt = 7;
    d.cmd_clr->click();
    const int last = d.ms_m->model()->rowCount() - 1;
    QCOMPARE(last, 6);
    QVERIFY(d.ms_m->rowViewportPosition(last) + d.ms_m->rowHeight(last) <= d.ms_m->viewport()->height());
    QVERIFY(d.ms_m->rowHeight(0) > d.ms_m->fontMetrics().height());
    max_cnt = 5;
}

void TestLook::dialogs_open_centred()
{
    TestShop shop;
    open_shop(shop);
    A_main w;
    w.showNormal();
    // Within the test screen (800 by 600), so that nothing is pushed back onto it.
    w.setGeometry(0, 0, 800, 600);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto off_centre = [](QWidget* d, QWidget* over) {
        const QPoint a = d->geometry().center(), b = over->geometry().center();
        return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
    };

    // The counter screen as CA opens it, and a picker over it.
    int c1_off = -1, picker_off = -1;
    when_dialog_shows("C1", [&](QWidget* d) {
        c1_off = off_centre(d, &w);
        auto* picker = new pop_cst(d);
        picker->show();
        picker_off = off_centre(picker, d);
        delete picker;
        static_cast<QDialog*>(d)->reject();
    });
    screens::kept<C1>()->run();
    QVERIFY2(c1_off >= 0 && c1_off <= 2, qPrintable(QString::number(c1_off)));
    QVERIFY2(picker_off >= 0 && picker_off <= 2, qPrintable(QString::number(picker_off)));

    // Kept across openings, it is centred again over wherever the main window is.
    w.setGeometry(30, 10, 760, 590);
    c1_off = -1;
    when_dialog_shows("C1", [&](QWidget* d) {
        c1_off = off_centre(d, &w);
        static_cast<QDialog*>(d)->reject();
    });
    screens::kept<C1>()->run();
    QVERIFY2(c1_off >= 0 && c1_off <= 2, qPrintable(QString::number(c1_off)));
}

void TestLook::narrow_summary_bar_gives_way()
{
    TestShop shop;
    open_shop(shop);
    // Wide: everything where the layout puts it.
    std::unique_ptr<CA> w(show_window<CA>(1600, 900));
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(tw_rect(w->la_inf).width, 4000);
    QCOMPARE(tw_rect(w->PB).left, 4100);
    QVERIFY(w->PB->isVisible());
    const int check6_left = tw_rect(w->Check6).left;
    QVERIFY(check6_left > 4100 + 1200);

    // At 1024 pixels the check boxes reach over the count line and the bar:
    // the bar goes, the line ends before the first check box, the boxes stay.
    const QString count_line = w->la_inf->text();
    w->resize(1010, 700);
    QApplication::processEvents();
    // Shortened on screen only: the export and the print read the whole line,
    // the clerk in its tooltip.
    QCOMPARE(w->la_inf->text(), count_line);
    QVERIFY(w->la_inf->fontMetrics().horizontalAdvance(count_line) > w->la_inf->contentsRect().width());
    QCOMPARE(w->la_inf->toolTip(), count_line);
    // A new line: its own tooltip.
    const QString found = QStringLiteral("검색건수: 14,208건   미납건수: 1,377");
    w->la_inf->setText(found);
    QTRY_COMPARE(w->la_inf->toolTip(), found);
    w->la_inf->setText(count_line);
    const int first = tw_rect(w->Check6).left;
    QVERIFY(first < 4100);
    QVERIFY(!w->PB->isVisible());
    QVERIFY(tw_rect(w->la_inf).left + tw_rect(w->la_inf).width <= first - 60);
    QVERIFY(w->la_inf->isVisible());
    QVERIFY(tw_rect(w->t_ser).width >= 1500);
    for (QWidget* a : {static_cast<QWidget*>(w->la_inf), static_cast<QWidget*>(w->PB)})
        for (QWidget* b : w->fm_sum->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (a != b && a->isVisible() && b->isVisible())
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " over " + b->objectName()));

    // Narrower still: the search box keeps its least width, the search
    // button beside it.
    w->resize(900, 700);
    QApplication::processEvents();
    QCOMPARE(tw_rect(w->t_ser).width, list_frame::ser_min_width);
    QVERIFY(w->t_ser->geometry().right() < w->cmd_fnd->geometry().left());
    QVERIFY(w->cmd_fnd->geometry().right() < w->fm_sub->width());

    // Wide again: the designed places come back.
    w->resize(1600, 900);
    QApplication::processEvents();
    QCOMPARE(tw_rect(w->la_inf).width, 4000);
    QVERIFY(w->PB->isVisible());
    QCOMPARE(tw_rect(w->Check6).left, check6_left);
    QVERIFY(w->la_inf->toolTip().isEmpty());
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
