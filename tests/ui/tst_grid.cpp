#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>
#include <QWheelEvent>

namespace {
// A shown grid with a header and n data rows "r<i>" in column 1.
void fill(FlexGrid& g, int n)
{
    g.set_cols(3);
    g.set_text(0, 0, "키");
    g.set_text(0, 1, "이름");
    g.set_text(0, 2, "금액");
    g.set_redraw(false);
    g.set_rows(1);
    for (int i = 1; i <= n; ++i) {
        const int r = g.add_row();
        const QByteArray t = "r" + QByteArray::number(i);
        g.set_utf8(r, 1, t.constData(), int(t.size()));
    }
    g.set_redraw(true);
}

int shown_rows(const FlexGrid& g) { return g.model()->rowCount(); }

// A shown grid of 200 rows with the list windows' wheel rule.
void show_hooked(FlexGrid& g)
{
    g.resize(400, 200);
    fill(g, 200);
    hook_wheel(&g);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
}

// A clerk's double click on the divider at the right of column c's header
// (c not the last column): the column is fitted to its contents. The
// divider's spot is the next section's start, as for a column dragged shut.
int fit_by_divider(FlexGrid& g, int c)
{
    QHeaderView* h = g.horizontalHeader();
    const QPoint at(h->sectionViewportPosition(c) + h->sectionSize(c), h->height() / 2);
    QTest::mouseDClick(h->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return g.columnWidth(c);
}

void wheel(FlexGrid& g, QPoint angle)
{
    const QPointF at(20, 20);
    QWheelEvent e(at, g.viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &e);
}
}

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void header_and_appended_rows();
    void redraw_keeps_current_row();
    void shrinking_rows();
    void widths_survive_reloads();
    void cleared_grid_has_no_current_row();
    void emptied_grid_shows_no_blank_cell();
    void last_column_takes_the_rest();
    void wheel_rule();
    void real_wheel_events();
    void removing_and_sorting_rows();
    void fine_wheel_steps_add_up();
    void long_texts_paint_as_fast_as_short_ones();
    void auto_fit_takes_whole_texts_from_any_width();
};

void TestGrid::header_and_appended_rows()
{
    FlexGrid g;
    fill(g, 3);
    QCOMPARE(g.rows(), 4);
    QCOMPARE(shown_rows(g), 3);
    QCOMPARE(g.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("이름"));
    QCOMPARE(g.text(0, 1), QStringLiteral("이름"));
    QCOMPARE(g.text(3, 1), QStringLiteral("r3"));
    QCOMPARE(g.model()->index(0, 1).data().toString(), QStringLiteral("r1"));

    // Rows appended while redraw is off appear only when it comes back on.
    g.set_redraw(false);
    for (int i = 0; i < 1000; ++i) g.set_text(g.add_row(), 2, QString::number(i));
    QCOMPARE(g.rows(), 1004);
    QCOMPARE(shown_rows(g), 3);
    g.set_redraw(true);
    QCOMPARE(shown_rows(g), 1003);
    QCOMPARE(g.text(1003, 2), QStringLiteral("999"));
    QCOMPARE(g.model()->index(1002, 2).data().toString(), QStringLiteral("999"));

    // A longer text in a cell that held a shorter one.
    g.set_text(2, 1, "훨씬 더 긴 이름");
    g.set_text(3, 1, "x");
    QCOMPARE(g.text(2, 1), QStringLiteral("훨씬 더 긴 이름"));
    QCOMPARE(g.text(3, 1), QStringLiteral("x"));
    QCOMPARE(g.text(1, 1), QStringLiteral("r1"));

    g.clear_cells();
    QCOMPARE(g.rows(), 1004);
    QCOMPARE(g.text(0, 1), QString());
    QCOMPARE(g.text(2, 1), QString());
}

void TestGrid::redraw_keeps_current_row()
{
    FlexGrid g;
    fill(g, 10);
    QCOMPARE(g.row(), 0);
    g.set_row(4);
    QCOMPARE(g.row(), 4);
    g.set_col(1);
    QCOMPARE(g.text(), QStringLiteral("r4"));
    g.set_redraw(false);
    g.add_row();
    QCOMPARE(g.row(), 4);
    g.set_redraw(true);
    QCOMPARE(g.row(), 4);
    QCOMPARE(g.text(), QStringLiteral("r4"));
    // Reloaded from scratch with fewer rows: the current row cannot stay.
    g.set_redraw(false);
    g.set_rows(1);
    g.add_row();
    g.set_redraw(true);
    QVERIFY(g.row() <= 1);
    g.set_row(0);
    QCOMPARE(g.row(), 0);
    g.set_row(99);
    QCOMPARE(g.row(), 0);
}

void TestGrid::shrinking_rows()
{
    FlexGrid g;
    fill(g, 10);
    g.set_cell_fore_color(8, 1, Qt::red);
    g.set_row(8);
    g.set_rows(4);
    QCOMPARE(g.rows(), 4);
    QCOMPARE(shown_rows(g), 3);
    QCOMPARE(g.text(3, 1), QStringLiteral("r3"));
    QCOMPARE(g.row(), 0);
    g.set_rows(10);
    // Rows that came back are empty and plain.
    QCOMPARE(g.text(8, 1), QString());
    QCOMPARE(g.cell_fore_color(8, 1), QColor(Qt::black));
    QCOMPARE(g.text(0, 1), QStringLiteral("이름"));
    g.set_rows(0);
    QCOMPARE(g.rows(), 1);   // the header row stays
    // Fewer columns keep the texts of the ones that remain.
    fill(g, 2);
    g.set_cols(2);
    QCOMPARE(g.text(2, 1), QStringLiteral("r2"));
    QCOMPARE(g.text(2, 2), QString());
}

void TestGrid::widths_survive_reloads()
{
    FlexGrid g;
    g.resize(600, 300);
    g.show();
    fill(g, 5);
    g.set_col_width(0, 0);
    g.set_col_width(1, 1500);
    g.set_col_width(2, 2400);
    g.set_row_height(0, 440);
    g.set_row_height(1, 380);
    g.set_col_alignment(2, FlexGrid::AlignRight);
    auto check = [&](const char* when) {
        QVERIFY2(g.isColumnHidden(0), when);
        QVERIFY2(!g.isColumnHidden(1), when);
        QCOMPARE(g.col_width(0), 0);
        QCOMPARE(g.columnWidth(1), twips_to_px(1500));
        QCOMPARE(g.columnWidth(2), twips_to_px(2400));
        QCOMPARE(g.horizontalHeader()->height(), twips_to_px(440));
        QCOMPARE(g.rowHeight(0), twips_to_px(380));
        QCOMPARE(g.model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    };
    check("set");
    fill(g, 7);
    check("reloaded");
    g.set_rows(3);
    check("rows cut");
    g.clear_cells();
    check("cleared");
    g.set_col_width(0, 500);
    QVERIFY(!g.isColumnHidden(0));
    QCOMPARE(g.columnWidth(0), twips_to_px(500));
}

void TestGrid::cleared_grid_has_no_current_row()
{
    FlexGrid g;
    g.show();
    QCOMPARE(g.data_row(), 0);
    fill(g, 3);
    g.set_row(2);
    QCOMPARE(g.data_row(), 2);
    g.clear_grid();
    QCOMPARE(g.rows(), 1);
    QCOMPARE(g.cols(), 1);
    QCOMPARE(g.text(0, 0), QString());
    QCOMPARE(g.data_row(), 0);
    fill(g, 1);
    g.set_row(1);
    g.clear_grid(0);
    QCOMPARE(g.rows(), 1);
    QCOMPARE(g.data_row(), 0);
}

void TestGrid::last_column_takes_the_rest()
{
    FlexGrid g;
    fill(g, 2);
    g.set_col_width(0, 700);
    g.set_col_width(1, 1500);
    g.fit_last_column(6000);
    QCOMPARE(g.col_width(2), 6000 - 700 - 1500 - 330);
    // Column 0 left out of the sum, as the pickers count it.
    g.fit_last_column(6000, 1);
    QCOMPARE(g.col_width(2), 6000 - 1500 - 330);
    // Never narrower than 2500, however small the grid.
    g.fit_last_column(1000);
    QCOMPARE(g.col_width(2), 2500);
    // A grid with no column after `first` is left alone.
    FlexGrid one;
    one.set_cols(1);
    one.set_col_width(0, 900);
    one.fit_last_column(6000, 1);
    QCOMPARE(one.col_width(0), 900);
    // A fresh grid's two columns have their widths and alignments already.
    FlexGrid two;
    two.fit_last_column(6000);
    QCOMPARE(two.col_width(1), 6000 - 1000 - 330);
    QCOMPARE(two.col_alignment(1), FlexGrid::AlignLeft);
}

void TestGrid::wheel_rule()
{
    FlexGrid g;
    show_hooked(g);
    QScrollBar* bar = g.verticalScrollBar();
    QVERIFY(bar->maximum() > 50);
    const int page = bar->pageStep();
    QVERIFY(page > 1);
    bar->setValue(100);
    g.wheel_scroll(120);
    QCOMPARE(bar->value(), 99);
    g.wheel_scroll(-120);
    QCOMPARE(bar->value(), 100);
    g.wheel_scroll(240);
    QCOMPARE(bar->value(), 100 - page);
    g.wheel_scroll(-240);
    QCOMPARE(bar->value(), 100);
    g.wheel_scroll(0);
    QCOMPARE(bar->value(), 100);
}

void TestGrid::real_wheel_events()
{
    FlexGrid g;
    g.resize(400, 200);
    fill(g, 200);
    QVERIFY(hook_wheel(&g));
    QVERIFY(hook_wheel(&g));   // twice is once
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QScrollBar* bar = g.verticalScrollBar();
    bar->setValue(50);
    wheel(g, QPoint(0, -120));
    QCOMPARE(bar->value(), 51);   // one line, not the view's three on top
    wheel(g, QPoint(0, 120));
    QCOMPARE(bar->value(), 50);
    wheel(g, QPoint(0, -360));
    QCOMPARE(bar->value(), 50 + bar->pageStep());
    bar->setValue(50);
    wheel(g, QPoint(-120, 0));   // sideways: no paging
    QCOMPARE(bar->value(), 50);
    wheel(g, QPoint(0, 0));
    QCOMPARE(bar->value(), 50);
    unhook_wheel(&g);
    unhook_wheel(&g);
    QVERIFY(!g.wheel_hooked());
}

void TestGrid::removing_and_sorting_rows()
{
    FlexGrid g;
    g.resize(400, 300);
    g.show();
    fill(g, 5);
    const QStringList keys = {"b", "A", "가", "a", "C"};
    for (int r = 1; r <= 5; ++r) g.set_text(r, 0, keys[r - 1]);
    g.set_cell_fore_color(2, 2, Qt::red);
    // Descending, case ignored, equal keys in their old order; colours go with their rows.
    g.sort_rows(0, true);
    QStringList order;
    for (int r = 1; r < g.rows(); ++r) order << g.text(r, 0) + g.text(r, 1);
    QCOMPARE(order, QStringList({"가r3", "Cr5", "br1", "Ar2", "ar4"}));
    QCOMPARE(g.cell_fore_color(4, 2), QColor(Qt::red));
    QCOMPARE(g.cell_fore_color(2, 2), QColor(Qt::black));
    QCOMPARE(g.model()->index(0, 1).data().toString(), QStringLiteral("r3"));

    g.set_row(4);
    g.remove_row(2);
    QCOMPARE(g.rows(), 5);
    QCOMPARE(shown_rows(g), 4);
    QCOMPARE(g.text(2, 1), QStringLiteral("r1"));
    QCOMPARE(g.cell_fore_color(3, 2), QColor(Qt::red));
    QCOMPARE(g.row(), 4);
    g.remove_row(4);
    QCOMPARE(g.row(), 3);   // the current row was the last one
    QCOMPARE(g.text(3, 1), QStringLiteral("r2"));
    g.remove_row(0);        // the header stays
    g.remove_row(9);
    QCOMPARE(g.rows(), 4);

    // A row scrolled to the top of the view.
    fill(g, 200);
    g.set_top_row(50);
    QCOMPARE(g.rowAt(0), 49);
}

void TestGrid::fine_wheel_steps_add_up()
{
    FlexGrid g;
    show_hooked(g);
    QScrollBar* bar = g.verticalScrollBar();
    QVERIFY(bar->pageStep() > 1);
    bar->setValue(100);
    // A touch pad's steps of a third of a notch: one line for the three.
    wheel(g, QPoint(0, -40));
    wheel(g, QPoint(0, -40));
    QCOMPARE(bar->value(), 100);
    wheel(g, QPoint(0, -40));
    QCOMPARE(bar->value(), 101);
    // Upwards likewise, a line for each 120 made.
    for (int i = 0; i < 8; ++i) g.wheel_scroll(30);
    QCOMPARE(bar->value(), 99);
    // Turning back starts the sum anew: 90 up then 60 down moves nothing.
    g.wheel_scroll(90);
    g.wheel_scroll(-60);
    QCOMPARE(bar->value(), 99);
    g.wheel_scroll(-60);
    QCOMPARE(bar->value(), 100);
    // A notch is still a line, and more than a notch at once still a page.
    g.wheel_scroll(-80);
    g.wheel_scroll(-120);
    QCOMPARE(bar->value(), 101);
    g.wheel_scroll(-80);
    g.wheel_scroll(-40);
    QCOMPARE(bar->value(), 102);
    wheel(g, QPoint(0, 240));
    QCOMPARE(bar->value(), 102 - bar->pageStep());
}

// An emptied grid (header row, one column) shows its bare header bar, as
// the empty list and upload screens should; the column comes back with the
// next load, at the width it had.
void TestGrid::emptied_grid_shows_no_blank_cell()
{
    FlexGrid g;
    g.resize(600, 300);
    g.show();
    QVERIFY(!g.isColumnHidden(0));
    g.clear_grid();
    QVERIFY(g.isColumnHidden(0));
    QCOMPARE(g.horizontalHeader()->length(), 0);
    g.set_header({"", "이름"});
    QVERIFY(!g.isColumnHidden(0));
    QCOMPARE(g.col_width(0), 1000);
    g.set_col_width(0, 0);
    g.clear_grid();
    g.set_rows(3);
    QVERIFY(g.isColumnHidden(0));
    g.clear_grid();
    g.set_col_width(0, 500);
    QVERIFY(!g.isColumnHidden(0));
    // A grid emptied to several columns keeps them shown.
    g.clear_grid(3);
    QVERIFY(!g.isColumnHidden(0));
}

// A cell keeps its whole text, however long, and hands it out whole; what
// is laid out for the screen is only what the cell, and at most the visible
// area, can show. A screenful of cells of a million characters paints about
// as fast as one of short texts and looks as cells of a few hundred do:
// their start, ending in "…"; so too once their column is fitted, or set
// far wider than the grid.
void TestGrid::long_texts_paint_as_fast_as_short_ones()
{
    FlexGrid g;
    g.resize(700, 500);
    g.set_cols(3);
    g.set_col_width(0, 600);
    g.set_col_width(1, 3000);
    g.set_col_width(2, 4000);
    g.set_col_alignment(2, FlexGrid::AlignRight);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    auto fill_with = [&](const QString& t) {
        g.set_redraw(false);
        g.set_rows(1);
        for (int i = 0; i < 25; ++i) {
            const int r = g.add_row();
            g.set_text(r, 0, QString::number(r));
            g.set_text(r, 1, t);
            g.set_text(r, 2, t);
        }
        g.set_redraw(true);
        QApplication::processEvents();
    };
    auto paint_ms = [&] {
        qint64 best = std::numeric_limits<qint64>::max();
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            g.viewport()->repaint();
            best = std::min(best, t.nsecsElapsed());
        }
        return double(best) / 1e6;
    };
    const QChar ga(0xAC00);
    fill_with(QString(12, ga));
    const double short_ms = paint_ms();
    fill_with(QString(500, ga) + QStringLiteral("끝"));
    const QImage some = g.grab().toImage();
    // Fitted, a column of texts longer than the visible area is as wide as
    // that area: the same however often, and however long the texts.
    const int visible = g.viewport()->width();
    QCOMPARE(fit_by_divider(g, 1), visible);
    const QImage some_fitted = g.grab().toImage();
    const QString million = QString(1000000, ga) + QStringLiteral("\U0001F600끝");
    fill_with(million);
    const double long_ms = paint_ms();
    QVERIFY2(long_ms < 3 * short_ms + 15,
             qPrintable(QStringLiteral("%1 ms against %2 ms").arg(long_ms).arg(short_ms)));
    QCOMPARE(g.grab().toImage(), some);
    QCOMPARE(g.text(7, 2), million);
    QCOMPARE(g.model()->index(6, 1).data().toString(), million);

    for (int i = 0; i < 3; ++i) QCOMPARE(fit_by_divider(g, 1), visible);
    const double fitted_ms = paint_ms();
    QVERIFY2(fitted_ms < 3 * short_ms + 15,
             qPrintable(QStringLiteral("%1 ms fitted against %2 ms").arg(fitted_ms).arg(short_ms)));
    QCOMPARE(g.grab().toImage(), some_fitted);
    // However wide a column is set, a paint lays out no more than the
    // visible area shows: as much as in the fitted column.
    g.set_col_width(1, px_to_twips(400000));
    const double wide_ms = paint_ms();
    QVERIFY2(wide_ms < 2 * fitted_ms + 5,
             qPrintable(QStringLiteral("%1 ms in a wide column against %2 ms").arg(wide_ms).arg(fitted_ms)));
}

// A double click on a header's divider fits the column to its widest text
// as the style measures the whole text (a line break as a space, as the
// cell draws it), whatever width the column had: as set, fitted already,
// dragged shut, or all but shut.
void TestGrid::auto_fit_takes_whole_texts_from_any_width()
{
    FlexGrid g;
    g.resize(900, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.set_header({"", "가입일", "전화번호", "주    소", "비고", "비고", ""});
    const QStringList rows[] = {
        {"1", "2026-01-02", "02-123-4567", "서울시 종로구 세종대로 175", "첫 줄\n둘째 줄이 더 깁니다", "첫 줄 둘째 줄이 더 깁니다"},
        {"2", "2025-12-31", "010-1234-5678", "부산", "짧음", "짧음"},
    };
    for (const QStringList& texts : rows) {
        const int r = g.add_row();
        for (int c = 0; c < int(texts.size()); ++c) g.set_text(r, c, texts[c]);
    }
    const int set[] = {600, 1100, 1200, 1500, 1500, 1500, 1000};
    for (int c = 0; c < g.cols(); ++c) g.set_col_width(c, set[c]);
    // What the style gives the whole texts: a plain delegate over the
    // display role.
    QStyledItemDelegate plain;
    QAbstractItemDelegate* own = g.itemDelegate();
    g.setItemDelegate(&plain);
    std::vector<int> whole(size_t(g.cols()));
    for (int c = 1; c <= 5; ++c) {
        g.resizeColumnToContents(c);
        whole[size_t(c)] = g.columnWidth(c);
        g.set_col_width(c, set[c]);
    }
    g.setItemDelegate(own);
    whole[4] = whole[5];   // the line break drawn as a space

    // Each column fitted from its set width, again, from shut and from 2 px
    // (the column's number first, to tell a failure's column).
    for (int c = 1; c <= 5; ++c) {
        QList<int> fits = {c};
        fits << fit_by_divider(g, c) << fit_by_divider(g, c);
        g.horizontalHeader()->resizeSection(c, 0);
        fits << fit_by_divider(g, c);
        g.horizontalHeader()->resizeSection(c, 2);
        fits << fit_by_divider(g, c);
        QCOMPARE(fits, QList<int>({c, whole[size_t(c)], whole[size_t(c)], whole[size_t(c)], whole[size_t(c)]}));
    }
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
