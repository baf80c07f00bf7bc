#include "registers/B4.h"
#include "data/state.h"
#include "registers/B4_add_edt.h"
#include "registers/B4_pro.h"
#include "registers/items.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
const char* kNoTicks = "체크된 품목이 없습니다!";

QString tick() { return QStringLiteral("√"); }
QString rented_mark() { return QStringLiteral("●"); }
}

B4::B4(QWidget* parent)
    : ListWindow(QStringLiteral("B4"), QStringLiteral("전체품목정보관리"), Frame(), parent)
{
    t_gbn = add_sub_combo("t_gbn", 120, 1500);
    t_chk = add_sub_combo("t_chk", 1680, 1300);
    set_search_left(3040);

    op_0 = named<QRadioButton>("op_0", QStringLiteral("사용중"), fm_sum);
    tw_place(op_0, 5000, 60, 1000, 300);
    op_1 = named<QRadioButton>("op_1", QStringLiteral("미사용"), fm_sum);
    tw_place(op_1, 6000, 60, 1000, 300);
    option_group({op_0, op_1});
    Check2 = named<QCheckBox>("Check2", QStringLiteral("체크자료일괄조정"), fm_sum);
    tw_place(Check2, 7060, 60, 1900, 300);
    Check1 = named<QCheckBox>("Check1", QStringLiteral("체크자료반전처리"), fm_sum);
    tw_place(Check1, 8960, 60, 1900, 300);
    PB = add_progress_bar(3700, 120, 1200, 200);
    Text1 = named<QLineEdit>("Text1", this);
    Text1->hide();

    // Form_Load
    t_gbn->addItem(QStringLiteral("전체보기"));
    t_gbn->setCurrentIndex(0);
    if (open_db()) {
        bool ok = false;
        const QStringList names = category_names(&ok);
        for (const QString& n : names) t_gbn->addItem(n);
    }
    t_chk->addItem(QStringLiteral("바 코 드"));
    for (int i = 1; i <= 6; ++i) t_chk->addItem(f_nam(i));
    t_chk->setCurrentIndex(0);
    op_0->setChecked(true);

    connect(t_gbn, qOverload<int>(&QComboBox::activated), this, [this] { ms_list(); });
    connect(op_0, &QRadioButton::clicked, this, [this] { ms_list(); });
    connect(op_1, &QRadioButton::clicked, this, [this] { ms_list(); });
    connect(cmd_add, &QPushButton::clicked, this, &B4::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &B4::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &B4::cmd_del_click);
    connect(ms, &FlexGrid::DblClick, this, &B4::ms_dbl_click);
    connect(ms, &FlexGrid::MouseDown, this, &B4::ms_mouse_down);
    connect(Check1, &QCheckBox::toggled, this, &B4::check1_click);
    connect(Check2, &QCheckBox::toggled, this, &B4::check2_click);

    ms_list();
}

B4::~B4() = default;

void B4::place_summary()
{
    place_left_of_user({{Check1, 0}, {Check2, 0}, {op_1, 60}, {op_0, 0}, {PB, 120}});
}

void B4::set_col_width() { b4_set_col_width(*ms, tw_rect(ms).width); }

void B4::ms_list()
{
    if (!start_list()) return;
    list_sql = b4_list_query(t_gbn->currentText(), t_chk->currentText(), t_ser->text(), op_0->isChecked());
    Text1->setText(list_sql.sql);
    const ItemCounts n = b4_fill_grid(*ms, list_sql);
    show_list_progress(PB, n.found);
    la_inf->setText(b4_count_text(n));
    if (n.found == 0) return;
    ms->set_row(1);
    set_col_width();
}

void B4::ms_dbl_click()
{
    const int r = ms->data_row();
    if (r == 0) return;
    ms->set_text(r, 1, ms->text(r, 1) == tick() ? QString() : tick());
}

void B4::ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton) screens::popup(QStringLiteral("POP3"), global_pos);
}

QStringList B4::ticked_barcodes() const
{
    QStringList out;
    for (int r = 1; r < ms->rows(); ++r)
        if (ms->text(r, 1) == tick()) out << ms->text(r, 4);
    return out;
}

void B4::check1_click(bool ticked)
{
    if (!ticked) return;
    auto untick = [this] { Check1->setChecked(false); };
    if (ms->rows() <= 1) { untick(); return; }
    QStringList cods;
    for (int r = 1; r < ms->rows(); ++r) {
        if (ms->text(r, 1) != tick()) continue;
        if (ms->text(r, 2) == rented_mark()) {
            msg_info(this, QStringLiteral("(%1) 대여중인 품목은 사용안함으로 변경할 수 없습니다!").arg(r));
            untick();
            return;
        }
        cods << ms->text(r, 4);
    }
    if (cods.isEmpty()) {
        msg_info(this, QString::fromUtf8(kNoTicks));
        untick();
        return;
    }
    const bool to_use = op_1->isChecked();
    const QString q = to_use ? QStringLiteral("(%1)건의 데이터를 사용함으로 변경하시겠습니까?")
                             : QStringLiteral("(%1)건의 데이터를 사용안함으로 변경하시겠습니까?");
    if (!msg_ask(this, q.arg(cods.size()))) { untick(); return; }
    if (!check_db(this)) {
        untick();
        return;
    }
    if (!items_set_act(cods, to_use)) {
        msg_info(this, QStringLiteral("데이터처리실패!"));
        untick();
        return;
    }
    msg_info(this, QStringLiteral("데이터처리완료!"));
    untick();
    ms_list();
}

void B4::check2_click(bool ticked)
{
    if (!ticked) return;
    auto untick = [this] { Check2->setChecked(false); };
    if (ms->rows() <= 1) { untick(); return; }
    QList<int> rows;
    for (int r = 1; r < ms->rows(); ++r)
        if (ms->text(r, 1) == tick()) rows << r;
    if (rows.isEmpty()) {
        msg_info(this, QString::fromUtf8(kNoTicks));
        untick();
        return;
    }
    B4_pro* d = screens::kept<B4_pro>();
    d->form_load();
    FlexGrid* g = d->ms;
    g->clear_grid();
    g->set_redraw(false);
    g->set_rows(int(rows.size()) + 1);
    g->set_cols(10);
    g->set_row_height(0, 440);
    g->set_col_alignment(1, FlexGrid::AlignCenter);
    g->set_col_alignment(3, FlexGrid::AlignCenter);
    g->set_col_alignment(7, FlexGrid::AlignRight);
    g->set_col_alignment(8, FlexGrid::AlignRight);
    const QStringList heads = {QString(), QStringLiteral("상태"), QStringLiteral("품목분류"), QStringLiteral("바 코 드"),
                               f_nam(1), f_nam(2), f_nam(3), QStringLiteral("대 여 료"), QStringLiteral("연 체 료"),
                               QStringLiteral("비    고")};
    const int widths[] = {0, col_w[0], col_w[7], col_w[8], col_w[9], col_w[10], col_w[11], col_w[16], col_w[16], 2500};
    const int from[] = {0, 2, 3, 4, 5, 6, 7, 11, 12, 13};
    for (int c = 0; c < 10; ++c) {
        g->set_text(0, c, heads[c]);
        g->set_col_width(c, widths[c]);
    }
    g->set_row_height(1, 380);
    int out = 1;
    for (int r : rows) {
        for (int c = 1; c < 10; ++c) g->set_text(out, c, ms->text(r, from[c]));
        ++out;
    }
    g->set_redraw(true);
    g->set_row(1);
    d->exec();
}

void B4::cmd_add_click()
{
    if (!check_right(this, QStringLiteral("add"))) return;
    if (!check_db(this)) return;
    B4_add_edt* d = screens::kept<B4_add_edt>();
    d->form_load();
    d->la_sta->setText(QStringLiteral("신규등록"));
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void B4::cmd_edt_click()
{
    const int r = action_row(QStringLiteral("edt"));
    if (r == 0) return;
    B4_add_edt* d = screens::kept<B4_add_edt>();
    d->form_load();
    d->t_chk->setText(QStringLiteral("edt"));
    d->la_sta->setText(ms->text(r, 2) == rented_mark() ? QStringLiteral("현재대여중..") : QStringLiteral("재고보유중.."));
    d->t_tmp_gbn->setText(ms->text(r, 3));
    d->set_edit_barcode(ms->text(r, 4));
    for (int i = 0; i < 6; ++i) fill_box(d->t_f_nam[i], ms->text(r, 5 + i));
    d->t_dan->setText(ms->text(r, 11));
    d->t_yun->setText(ms->text(r, 12));
    fill_box(d->t_big, ms->text(r, 13));
    d->exec();
}

void B4::cmd_del_click()
{
    const int r = action_row(QStringLiteral("del"));
    if (r == 0) return;
    if (!check_db(this)) return;
    if (ms->text(r, 2) == rented_mark()) {
        msg_info(this, QStringLiteral("대여중인 품목은 삭제할 수 없습니다!"));
        return;
    }
    const QString cod = ms->text(r, 4);
    const QString history = QStringLiteral("[%1]대여반납내역이 존재하는 품목이므로 삭제할 수 없습니다!").arg(cod);
    if (!check_clear(this, item_has_history(cod), QStringLiteral("삭제실패!"), history)) return;
    if (!ask_delete(this, cod)) return;
    if (report_delete(this, item_delete(cod), history)) ms_list();
}
