#include "intake/LoadWindow.h"
#include "data/amounts.h"
#include "data/paths.h"
#include "data/state.h"
#include "intake/workbook.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QDebug>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
const QString k_waiting = QStringLiteral("대기중...");
}

LoadWindow::LoadWindow(const QString& name, Kind kind, QWidget* parent)
    : ListWindow(name, kind.caption, Frame{QStringLiteral("add"), true, false, false, true}, parent),
      kind_(std::move(kind))
{
    t_gbn = add_sub_combo("t_gbn", 120, 1300);
    t_gbn->addItem(kind_.gbn);
    t_gbn->setCurrentIndex(0);
    t_chk = add_sub_combo("t_chk", 1480, 4300);
    t_chk->addItem(kind_.chk);
    t_chk->setCurrentIndex(0);
    set_search_left(5840);
    hold_path_in_search_box();
    cmd_fnd->setText(QStringLiteral("열기"));

    Frame2 = named<QFrame>("Frame2", fm_sum);
    tw_place(Frame2, 6200, 30, 2400, 360);
    PB = named<QProgressBar>("PB", Frame2);
    PB->setTextVisible(false);
    PB->setValue(0);
    tw_place(PB, 60, 90, 2280, 200);

    la_inf->setText(k_waiting);
    on_double_click(t_ser, [this] {
        t_ser->clear();
        la_inf->setText(k_waiting);
        clear_grid();
    });
    connect(cmd_add, &QPushButton::clicked, this, &LoadWindow::cmd_add_click);
    connect(ms, &FlexGrid::DblClick, this, &LoadWindow::ms_dbl_click);
    clear_grid();
}

void LoadWindow::clear_grid() { ms->clear_grid(); }

void LoadWindow::show_count()
{
    la_inf->setText(QStringLiteral("검색건수 %1건").arg(amount_text(ms->rows() - 1)));
}

void LoadWindow::place_summary() { place_left_of_user({{Frame2, 120}}); }

void LoadWindow::set_col_width()
{
    if (ms->rows() < 2) return;
    const auto cols = kind_.columns();
    for (int c = 0; c < k_load_cols - 1; ++c)
        ms->set_col_width(c, cols[size_t(c)].width);
    ms->fit_last_column(tw_rect(ms).width, 1);
}

void LoadWindow::progress(int done)
{
    const int step = std::max(1, PB->maximum() / 200);
    if (done % step == 0 || done >= PB->maximum()) PB->setValue(std::min(done, PB->maximum()));
}

void LoadWindow::cmd_fnd_click()
{
    if (!check_db(this)) return;
    clear_grid();
    la_inf->setText(k_waiting);

    QString path;
    if (!choose_open_file(this, QStringLiteral("엑셀파일(*.xls *.xlsx)"), t_ser->text(), program_dir(), &path)) return;
    if (path.isEmpty()) {
        t_ser->clear();
        return;
    }
    load_file(path);
}

bool LoadWindow::load_file(const QString& path)
{
    clear_grid();
    la_inf->setText(k_waiting);
    QString why;
    // Reading a big workbook takes seconds: the bar shows how far it got.
    PB->setRange(0, 100);
    PB->setValue(0);
    std::unique_ptr<WorkbookReader> book =
        WorkbookReader::open(path, &why, [this](int percent) { PB->setValue(percent); });
    PB->setValue(0);
    // Cells may share one text (shared strings): a small workbook can stand
    // for gigabytes once every cell is spelled out. It is weighed first.
    if (book && book->text_length(2, k_sheet_cols, k_load_max_chars) > k_load_max_chars) {
        why = QStringLiteral("its data rows hold more than %1 characters in the columns loaded: refused")
                  .arg(k_load_max_chars);
        book.reset();
    }
    if (!book) {
        qWarning().noquote() << "workbook" << path << "not read:" << why;
        msg_info(this, QStringLiteral("엑셀파일을 열 수 없습니다!"));
        return false;
    }
    fill_box(t_ser, path);

    // Row 1 holds the headings; a workbook without data rows leaves one
    // empty, unmarked row.
    const int n = std::max(book->last_row(), 1);
    const auto cols = kind_.columns();
    ms->set_redraw(false);
    QStringList heads;
    for (const Column& c : cols) heads << c.head;
    ms->set_header(heads);
    for (int c = 0; c < k_load_cols; ++c) ms->set_col_alignment(c, FlexGrid::Align(cols[size_t(c)].align));
    ms->reserve_rows(n + 1, 96);
    ms->set_rows(2);

    PB->setValue(0);
    PB->setMaximum(std::max(n - 1, 1));
    la_inf->setText(QStringLiteral("데이터로딩중..."));
    la_inf->repaint();
    LoadCells cells;
    for (int r = 1; r <= n - 1; ++r) {
        if (r > 1) ms->add_row();
        for (int c = 0; c < k_sheet_cols; ++c) cells[size_t(c)] = book->cell(r + 1, c + 1);
        const bool faulty = kind_.check(cells);
        if (faulty) ms->set_text(r, 1, k_err_mark);
        for (int c = 0; c < k_sheet_cols; ++c) ms->set_text(r, c + 2, cells[size_t(c)]);
        progress(r);
    }
    book.reset();   // the grid holds the rows now; the sort needs the room
    ms->set_row_height(1, 380);
    ms->set_redraw(true);
    show_count();

    set_col_width();
    ms->sort_rows(kind_.key_col, true);
    ms->set_row(1);
    t_ser->setFocus();
    return true;
}

void LoadWindow::ms_dbl_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    if (!msg_ask(this, QStringLiteral("선택자료를 삭제하시겠습니까?"))) return;
    if (ms->rows() == 2) {
        clear_grid();
        la_inf->setText(k_waiting);
        return;
    }
    ms->remove_row(r);
    show_count();
}

void LoadWindow::cmd_add_click()
{
    if (ms->rows() < 2) {
        msg_info(this, QStringLiteral("처리할 엑셀파일을 호출하세요!"));
        return;
    }
    for (int r = 1; r < ms->rows(); ++r) {
        if (ms->text(r, 1) == k_err_mark) {
            msg_info(this, QStringLiteral("오류데이터가 있습니다! 삭제하시려면 해당 데이터를 더블클릭하세요!"));
            return;
        }
    }
    if (!check_db(this)) return;
    if (const int dup = first_duplicate(ms->store(), kind_.key_col)) {
        ms->set_row(dup);
        ms->set_top_row(dup);
        msg_info(this, kind_.duplicate.arg(ms->text(dup, kind_.key_col)));
        return;
    }
    if (!msg_ask(this, kind_.ask)) return;
    if (save_rows()) {
        la_inf->setText(QStringLiteral("프로그램으로 처리완료!"));
        msg_info(this, kind_.done);
    } else {
        la_inf->setText(QStringLiteral("프로그램으로 처리실패!"));
        msg_info(this, kind_.failed);
    }
}

bool LoadWindow::save_rows()
{
    if (!check_db(this)) return false;
    la_inf->setText(QStringLiteral("프로그램으로 등록중..."));
    la_inf->repaint();
    PB->setValue(0);
    PB->setMaximum(std::max(ms->rows() - 1, 1));
    return kind_.save(ms->store(), [this](int done) { progress(done); });
}
