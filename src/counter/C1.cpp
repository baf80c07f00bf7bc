#include "counter/C1.h"
#include "counter/rentals.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "registers/pop_cst.h"
#include "registers/pop_pdt.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {
QLineEdit* box(QWidget* parent, const char* name, int l, int t, int w, bool read_only = false)
{
    auto* e = named<QLineEdit>(name, parent);
    e->setReadOnly(read_only);
    tw_place(e, l, t, w, 330);
    return e;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int l, int t, int w)
{
    auto* la = new QLabel(text, parent);
    if (name) la->setObjectName(QLatin1String(name));
    tw_place(la, l, t, w, 330);
    return la;
}

bool filled(const FlexGrid* g, int r) { return !g->text(r, 2).isEmpty(); }
}

CounterForm::CounterForm(const QString& name, const QString& caption, bool returns, QWidget* parent)
    : EditDialog(name, caption, QStringLiteral("CA"), parent), returns_(returns)
{

    fm_m = named<QGroupBox>("fm_m", QStringLiteral("회원정보"), this);
    tw_place(fm_m, 120, 60, 10800, 3860);
    label(fm_m, nullptr, QStringLiteral("회원코드"), 120, 300, 860);
    t_m_cod = box(fm_m, "t_m_cod", 1000, 300, 1300);
    t_m_gbn = box(fm_m, "t_m_gbn", 2360, 300, 500, true);
    t_m_nam = box(fm_m, "t_m_nam", 2920, 300, 1800, true);
    label(fm_m, nullptr, QStringLiteral("적용일자:"), 4820, 300, 860);
    la_m_dat1 = label(fm_m, "la_m_dat1", QString(), 5700, 300, 1100);
    la_arrow = label(fm_m, "la_arrow", QString(), 6820, 300, 200);
    la_m_dat2 = label(fm_m, "la_m_dat2", QString(), 7040, 300, 1100);
    la_m_inf = label(fm_m, "la_m_inf", QString(), 8180, 300, 1400);
    if (!returns_) t_m_lange = box(fm_m, "t_m_lange", 9620, 300, 900, true);
    label(fm_m, nullptr, QStringLiteral("미납금액"), 120, 720, 860);
    t_meesoo = box(fm_m, "t_meesoo", 1000, 720, 1300, true);
    t_meesoo->setAlignment(Qt::AlignRight);
    label(fm_m, nullptr, QStringLiteral("대여중"), 2400, 720, 600);
    t_old_cnt = box(fm_m, "t_old_cnt", 3000, 720, 500, true);
    label(fm_m, nullptr, QStringLiteral("대여가능"), 3600, 720, 760);
    t_ava_cnt = box(fm_m, "t_ava_cnt", 4360, 720, 500, true);
    la_m_cnt = label(fm_m, "la_m_cnt", QString(), 4960, 720, 800);
    label(fm_m, nullptr, QStringLiteral("회원의 최근 대여목록을 나타냅니다!"), 5900, 720, 4700);
    ms_m = named<FlexGrid>("ms_m", fm_m);
    // High enough for the header and five rows at their design heights.
    tw_place(ms_m, 120, 1140, 10560, 2600);

    fm_p = named<QGroupBox>("fm_p", returns_ ? QStringLiteral("반납정보") : QStringLiteral("대여정보"), this);
    tw_place(fm_p, 120, 3980, 10800, 4080);
    label(fm_p, nullptr, QStringLiteral("바 코 드"), 120, 300, 860);
    t_p_cod = box(fm_p, "t_p_cod", 1000, 300, 1800);
    label(fm_p, nullptr, QStringLiteral("누적대여횟수:"), 2900, 300, 1200);
    la_p_tot = label(fm_p, "la_p_tot", QString(), 4150, 300, 900);
    label(fm_p, nullptr,
          returns_ ? QStringLiteral("반납처리할 바코드목록을 나타냅니다!") : QStringLiteral("대여처리할 바코드목록을 나타냅니다!"),
          5200, 300, 5400);
    ms_p = named<FlexGrid>("ms_p", fm_p);
    tw_place(ms_p, 120, 720, 10560, 2820);
    label(fm_p, nullptr, QStringLiteral("합    계"), 120, 3640, 860);
    t_p_sum = box(fm_p, "t_p_sum", 1000, 3640, 1500, true);
    t_p_sum->setAlignment(Qt::AlignRight);
    la_p_cnt = label(fm_p, "la_p_cnt", QString(), 2600, 3640, 900);

    pic_upt = named<QFrame>("pic_upt", fm_p);
    pic_upt->setFrameShape(QFrame::Box);
    pic_upt->setAutoFillBackground(true);
    tw_place(pic_upt, 2400, 900, 6000, 2500);
    label(pic_upt, nullptr, QStringLiteral("행"), 120, 120, 900);
    t_tmp_row = box(pic_upt, "t_tmp_row", 1100, 120, 600, true);
    label(pic_upt, nullptr, QStringLiteral("반 납 일"), 120, 520, 900);
    t_upt_dat = box(pic_upt, "t_upt_dat", 1100, 520, 1400);
    t_upt_dat->setInputMask(QStringLiteral("0000-00-00;_"));
    label(pic_upt, nullptr, QStringLiteral("결제여부"), 2700, 520, 900);
    op_kyu1 = named<QRadioButton>("op_kyu1", QStringLiteral("예"), pic_upt);
    tw_place(op_kyu1, 3650, 520, 800, 330);
    op_kyu2 = named<QRadioButton>("op_kyu2", QStringLiteral("아니요"), pic_upt);
    tw_place(op_kyu2, 4500, 520, 1100, 330);
    option_group({op_kyu1, op_kyu2});
    label(pic_upt, nullptr, returns_ ? QStringLiteral("연 체 료") : QStringLiteral("대 여 료"), 120, 920, 900);
    t_upt_dae = box(pic_upt, "t_upt_dae", 1100, 920, 1400);
    t_upt_dae->setAlignment(Qt::AlignRight);
    // Barcode and name only show which row is edited.
    label(pic_upt, nullptr, QStringLiteral("바 코 드"), 120, 1320, 900);
    t_upt_cod = box(pic_upt, "t_upt_cod", 1100, 1320, 1600, true);
    la_f1_nam = label(pic_upt, "la_f1_nam", QString(), 120, 1720, 900);
    t_upt_f1_nam = box(pic_upt, "t_upt_f1_nam", 1100, 1720, 4700, true);
    cmd_app = plain_button(pic_upt, "cmd_app", QStringLiteral("적용"), 3000, 2060, 900, 400);
    cmd_del = plain_button(pic_upt, "cmd_del", QStringLiteral("삭제"), 3960, 2060, 900, 400);
    cmd_hid = plain_button(pic_upt, "cmd_hid", QStringLiteral("닫기"), 4920, 2060, 900, 400);
    pic_upt->hide();

    cmd_add = plain_button(this, "cmd_add", returns_ ? QStringLiteral("반납등록") : QStringLiteral("대여등록"), 6900, 8160,
                     1300, 400);
    cmd_clr = plain_button(this, "cmd_clr", QStringLiteral("다시입력"), 8260, 8160, 1300, 400);
    cmd_ext = plain_button(this, "cmd_ext", QStringLiteral("닫기"), 9620, 8160, 1300, 400);
    // Only the size: the dialog opens centred over the main window.
    setFixedSize(twips_to_px(11040), twips_to_px(8700));
    keep_look_when_disabled(fm_m);
    keep_look_when_disabled(fm_p);

    connect(t_m_cod, &QLineEdit::returnPressed, this, &CounterForm::t_m_cod_keydown);
    connect(t_p_cod, &QLineEdit::returnPressed, this, &CounterForm::t_p_cod_keydown);
    connect(ms_p, &FlexGrid::DblClick, this, &CounterForm::ms_p_dblclick);
    return_moves_focus({t_upt_dat, t_upt_dae});
    connect(t_upt_dae, &QLineEdit::returnPressed, this, &CounterForm::cmd_app_click);
    connect(t_upt_dae, &QLineEdit::textEdited, this, &CounterForm::t_upt_dae_change);
    connect(cmd_app, &QPushButton::clicked, this, &CounterForm::cmd_app_click);
    connect(cmd_del, &QPushButton::clicked, this, &CounterForm::cmd_del_click);
    connect(cmd_hid, &QPushButton::clicked, this, &CounterForm::cmd_hid_click);
    connect(cmd_add, &QPushButton::clicked, this, &CounterForm::cmd_add_click);
    connect(cmd_clr, &QPushButton::clicked, this, &CounterForm::cmd_clr_click);
    connect(cmd_ext, &QPushButton::clicked, this, &CounterForm::cmd_ext_click);
}

int CounterForm::run()
{
    form_load();
    return exec();
}

void CounterForm::form_load()
{
    cmd_clr_click();
    // The code boxes take a code whole, whatever the lengths in the settings
    // are today: codes registered under an earlier setting stay in use, and
    // a box that cut a scanned, typed or picked code would look up its start,
    // which may be another member's or item's code. A code that is not
    // stored is not found, and goes to the picker as a name fragment.
    t_p_cod->setMaxLength(32767);
    t_m_cod->setMaxLength(32767);
    fm_p->setEnabled(false);
    fm_m->setEnabled(true);
}

void CounterForm::layout_grids()
{
    // A member with more open rentals than max_cnt still gets a row for each.
    const int n = std::max<int>(max_cnt, open_count_);
    ms_m->clear_cells();
    ms_m->set_cols(4);
    ms_m->set_rows(n + 1);
    ms_m->set_row_height(0, 500);
    ms_m->set_row_height(1, 400);
    ms_m->fit_data_rows(n);
    ms_m->set_col_alignment(1, FlexGrid::AlignCenter);
    ms_m->set_col_alignment(2, FlexGrid::AlignCenter);
    ms_m->set_col_alignment(3, FlexGrid::AlignLeft);
    ms_m->set_col_width(0, 0);
    ms_m->set_col_width(1, 1200);
    ms_m->set_col_width(2, 1200);
    ms_m->set_col_width(3, tw_rect(ms_m).width - 2400 - 330);
    ms_m->set_text(0, 1, QStringLiteral("대여일"));
    ms_m->set_text(0, 2, QStringLiteral("바코드"));
    ms_m->set_text(0, 3, f1_nam);

    ms_p->clear_cells();
    ms_p->set_cols(6);
    ms_p->set_rows(n + 1);
    ms_p->set_row_height(0, 500);
    ms_p->set_row_height(1, 400);
    ms_p->fit_data_rows(n);
    ms_p->set_col_alignment(1, FlexGrid::AlignCenter);
    ms_p->set_col_alignment(2, FlexGrid::AlignCenter);
    ms_p->set_col_alignment(3, FlexGrid::AlignRight);
    const int amount_w = 1200;
    ms_p->set_col_width(0, 0);
    ms_p->set_col_width(1, 1200);
    ms_p->set_col_width(2, col_w[0] + 100);
    ms_p->set_col_width(3, amount_w);
    ms_p->set_col_width(4, col_w[15] + 100);
    ms_p->set_col_width(5, tw_rect(ms_p).width - 1200 - (col_w[0] + 100) - amount_w - (col_w[15] + 100) - 330);
    if (returns_) {
        ms_p->set_text(0, 1, QStringLiteral("예정일"));
        ms_p->set_text(0, 2, QStringLiteral("결제"));
        ms_p->set_text(0, 3, QStringLiteral("연체료"));
    } else {
        ms_p->set_text(0, 1, QStringLiteral("반납일"));
        ms_p->set_text(0, 2, QStringLiteral("결제"));
        ms_p->set_text(0, 3, QStringLiteral("대여료"));
    }
    ms_p->set_text(0, 4, QStringLiteral("바코드"));
    ms_p->set_text(0, 5, f1_nam);
}

void CounterForm::cmd_clr_click()
{
    open_count_ = 0;
    layout_grids();
    for (QLineEdit* e : {t_m_cod, t_m_gbn, t_m_nam, t_m_lange, t_old_cnt, t_ava_cnt, t_p_cod, t_p_sum, t_meesoo})
        if (e) e->clear();
    for (QLabel* l : {la_m_dat1, la_m_dat2, la_arrow, la_m_inf, la_p_tot, la_m_cnt, la_p_cnt}) l->clear();
    pic_upt->hide();
    fm_m->setEnabled(true);
    fm_p->setEnabled(false);
    t_m_cod->setFocus();
}

void CounterForm::cmd_ext_click() { reject(); }

void CounterForm::t_m_cod_keydown()
{
    t_m_cod->setText(counter_code(con(), CodeOf::Member, t_m_cod->text()));
    mem_chk();
}

void CounterForm::mem_chk()
{
    open_db();
    const MemberRow m = find_member(con(), t_m_cod->text());
    if (m.found) {
        fill_box(t_m_gbn, QStringLiteral("(") + m.gbn + QStringLiteral(")"));
        fill_box(t_m_nam, m.nam);
        mem_detail();
        return;
    }
    const LikeContains like = like_contains(QStringLiteral("nam"), t_m_cod->text());
    list_sql = Query(QStringLiteral("SELECT * FROM TB1 WHERE act='Y' and ") + like.sql
                         + QStringLiteral(" order by gbn,dat,cod"),
                     {like.pattern});
    open_member_picker();
}

void CounterForm::mem_detail()
{
    const QString cod = t_m_cod->text();
    const MemberStatus st = member_status(con(), cod, today(), haebi);
    if (st.failed) {
        // Without his true balance and open rentals the member is not served.
        msg_info(this, QStringLiteral("회원코드를 확인하지 못하였습니다!"));
        return;
    }
    const bool regular = t_m_gbn->text() == QLatin1String("(A)");
    const bool guest = t_m_gbn->text() == QLatin1String("(B)");
    if (st.has_period) {
        la_m_dat1->setText(st.s_dat);
        la_m_dat2->setText(st.e_dat);
        if (regular) {
            la_arrow->setText(QStringLiteral("~"));
            if (st.days_known) {
                la_m_inf->setText(QStringLiteral("만료(%1)일전").arg(st.days_left));
                if (t_m_lange) t_m_lange->setText(QString::number(st.days_left));
            } else {
                la_m_inf->clear();
                if (t_m_lange) t_m_lange->clear();
            }
        } else if (guest) {
            la_arrow->clear();
            if (returns_) {
                la_m_inf->setText(QStringLiteral("만료(0)일전"));
            } else {
                la_m_inf->clear();
                la_m_dat1->clear();
                la_m_dat2->clear();
            }
        }
    }
    if (guest && t_m_lange) t_m_lange->setText(QStringLiteral("0"));
    t_meesoo->setText(amount_text(st.balance()));

    open_count_ = int(st.open.size());
    layout_grids();
    for (int k = 0; k < open_count_; ++k) {
        const OpenRental& o = st.open[size_t(k)];
        ms_m->set_text(k + 1, 1, o.s_dat);
        ms_m->set_text(k + 1, 2, o.p_cod);
        ms_m->set_text(k + 1, 3, o.f1_nam);
    }
    t_old_cnt->setText(QString::number(open_count_));
    t_ava_cnt->setText(QString::number(max_cnt - open_count_));
    la_m_cnt->setText(QStringLiteral("%1건").arg(open_count_));

    t_p_cod->clear();
    t_p_sum->clear();
    la_p_cnt->clear();
    pic_upt->hide();
    fm_m->setEnabled(false);
    fm_p->setEnabled(true);
    t_p_cod->setFocus();
}

int CounterForm::filled_rows() const
{
    int n = 0;
    for (int r = 1; r < ms_p->rows(); ++r)
        if (filled(ms_p, r)) ++n;
    return n;
}

int CounterForm::target_row(const QString& barcode)
{
    // Every filled row is looked at, also below a blanked gap.
    int target = -1;
    for (int r = 1; r < ms_p->rows(); ++r) {
        if (!filled(ms_p, r)) {
            if (target < 0) target = r;
            continue;
        }
        if (ms_p->text(r, 4).compare(barcode, Qt::CaseInsensitive) == 0) {
            t_p_cod->clear();
            t_p_cod->setFocus();
            pdt_total();
            return 0;
        }
    }
    return target;
}

void CounterForm::pdt_total()
{
    qint64 sum = 0, n = 0;
    for (int r = 1; r < ms_p->rows(); ++r) {
        bool ok = false;
        const QString t = ms_p->text(r, 3);
        if (t.isEmpty()) continue;
        const qint64 v = parse_amount(t, &ok);
        if (!ok) continue;
        sum += v;
        ++n;
    }
    t_p_sum->setText(amount_text(sum));
    la_p_cnt->setText(QStringLiteral("%1건").arg(amount_text(n)));
}

void CounterForm::ms_p_dblclick()
{
    const int r = ms_p->row();
    if (r < 1 || r >= ms_p->rows() || !filled(ms_p, r)) return;
    t_tmp_row->setText(QString::number(r));
    la_f1_nam->setText(f1_nam);
    t_upt_dat->setText(ms_p->text(r, 1));
    if (ms_p->text(r, 2) == QLatin1String("Y")) op_kyu1->setChecked(true);
    else op_kyu2->setChecked(true);
    t_upt_dae->setText(ms_p->text(r, 3));
    fill_box(t_upt_cod, ms_p->text(r, 4));
    fill_box(t_upt_f1_nam, ms_p->text(r, 5));
    pic_upt->show();
    pic_upt->raise();
    t_upt_dae->setFocus();
}

void CounterForm::t_upt_dae_change()
{
    bool ok = false;
    const qint64 v = parse_amount(t_upt_dae->text(), &ok);
    if (!ok) return;
    t_upt_dae->setText(amount_text(v));
    t_upt_dae->setCursorPosition(int(t_upt_dae->text().size()));
}

void CounterForm::cmd_app_click()
{
    const int r = t_tmp_row->text().toInt();
    if (r < 1 || r >= ms_p->rows() || !filled(ms_p, r)) {
        cmd_hid_click();
        return;
    }
    if (!parse_date(t_upt_dat->text()).isValid()) {
        msg_info(this, returns_ ? QStringLiteral("반납일자가 올바르지 않습니다!") : QStringLiteral("대여일자가 올바르지 않습니다!"));
        t_upt_dat->setFocus();
        return;
    }
    bool ok = false;
    const qint64 fee = parse_amount(t_upt_dae->text(), &ok);
    if (!ok || t_upt_dae->text().trimmed().isEmpty() || fee < 0) {
        msg_info(this, returns_ ? QStringLiteral("연체료가 올바르지 않습니다!") : QStringLiteral("대여료가 올바르지 않습니다!"));
        t_upt_dae->setFocus();
        return;
    }
    ms_p->set_text(r, 1, t_upt_dat->text());
    ms_p->set_text(r, 2, op_kyu1->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    ms_p->set_text(r, 3, amount_text(fee));
    pic_upt->hide();
    pdt_total();
    t_p_cod->setFocus();
}

void CounterForm::cmd_del_click()
{
    if (!msg_ask(this, QStringLiteral("선택항목을 삭제하시겠습니까?"))) return;
    const int r = t_tmp_row->text().toInt();
    if (r >= 1 && r < ms_p->rows())
        for (int col = 0; col <= 5; ++col) ms_p->set_text(r, col, QString());
    pic_upt->hide();
    pdt_total();
    t_p_cod->setFocus();
}

void CounterForm::cmd_hid_click()
{
    pic_upt->hide();
    t_p_cod->setFocus();
}

void CounterForm::open_picker(PickerDialog* picker)
{
    QPointer<PickerDialog> p = picker;
    p->t_chk->setText(tag());
    p->exec();
    if (p) delete p.data();
}

void CounterForm::open_member_picker() { open_picker(new pop_cst(this)); }

void CounterForm::open_item_picker() { open_picker(new pop_pdt(this)); }

bool CounterForm::scanned_item_usable(const QString& busy_sta, const QString& busy_text)
{
    const ItemRow it = find_item(con(), t_p_cod->text());
    if (!it.found) {
        const LikeContains like = like_contains(QStringLiteral("f1_nam"), t_p_cod->text());
        list_sql = Query(QStringLiteral("select * from TB4 as p where act='Y' and ") + like.sql
                             + QStringLiteral(" order by sta desc,gbn,cod"),
                         {like.pattern});
        open_item_picker();
        return false;
    }
    if (it.sta == busy_sta) {
        msg_info(this, busy_text);
        t_p_cod->clear();
        return false;
    }
    if (it.act == QLatin1String("N")) {
        msg_info(this, QStringLiteral("비활성화된 바코드입니다!"));
        t_p_cod->clear();
        return false;
    }
    return true;
}

void CounterForm::show_rental_times(Connection& c)
{
    const qint64 times = rental_count(c, t_p_cod->text());
    la_p_tot->setText(QStringLiteral("%1건").arg(std::max<qint64>(times, 0)));
}

void CounterForm::commit_lines(int n, const CommitTexts& texts, bool lines_ok, const std::function<bool()>& save)
{
    if (n == 0) {
        msg_info(this, texts.none);
        return;
    }
    if (!check_db(this)) return;
    if (!msg_ask(this, texts.ask.arg(n))) return;
    if (!lines_ok || !save()) {
        msg_info(this, texts.failed);
        return;
    }
    saved = 1;
    msg_info(this, texts.done);
    cmd_clr_click();
}

// ------------------------------------------------------------------- C1
C1::C1(QWidget* parent) : CounterForm(QStringLiteral("C1"), QStringLiteral("품목대여등록하기"), false, parent) {}

void C1::t_p_cod_keydown()
{
    t_p_cod->setText(counter_code(con(), CodeOf::Item, t_p_cod->text()));
    const int ava = t_ava_cnt->text().toInt();
    if (ava < 1 || filled_rows() >= ava) {
        msg_info(this, QStringLiteral("대여가능수량이 이미 등록되었습니다!"));
        t_p_cod->clear();
        return;
    }
    if (scanned_item_usable(QStringLiteral("Y"), QStringLiteral("현재 대여중인 바코드입니다!"))) pdt_chk();
}

void C1::pdt_chk()
{
    Connection& c = con();
    const QString code = t_p_cod->text();
    show_rental_times(c);
    const ItemRow it = find_item(c, code);
    if (!it.found || !it.rentable()) {
        msg_info(this, QStringLiteral("입력한 바코드는 현재 대여중이거나 등록되지 않은 바코드입니다!"));
        t_p_cod->clear();
        return;
    }
    const int r = target_row(it.cod);
    if (r <= 0) return;
    ms_p->set_text(r, 1, due_date(today(), max_dat));
    ms_p->set_text(r, 2, QStringLiteral("Y"));
    ms_p->set_text(r, 3, t_m_gbn->text() == QLatin1String("(A)") ? QStringLiteral("0") : amount_text(it.dae));
    ms_p->set_text(r, 4, it.cod);
    ms_p->set_text(r, 5, it.f1_nam);
    t_p_cod->clear();
    t_p_cod->setFocus();
    pdt_total();
}

void C1::cmd_add_click()
{
    const QString cod = t_m_cod->text();
    const MemberRow m = find_member(con(), cod);
    bool num = false;
    const int lange = t_m_lange->text().toInt(&num);
    if (!m.found || t_m_lange->text().isEmpty() || !num) {
        msg_info(this, QStringLiteral("회원코드를 확인하지 못하였습니다!"));
        return;
    }
    if (t_m_gbn->text() == QLatin1String("(A)") && lange < 0) {
        msg_info(this, QStringLiteral("정회원 적용일자가 지났습니다! 재연장처리 후 이용가능합니다!"));
        return;
    }
    std::vector<RentalLine> lines;
    bool fees_ok = true;
    for (int r = 1; r < ms_p->rows(); ++r) {
        if (!filled(ms_p, r)) continue;
        bool ok = false;
        RentalLine l;
        l.c_dat = ms_p->text(r, 1);
        l.mark = ms_p->text(r, 2);
        l.fee = parse_amount(ms_p->text(r, 3), &ok);
        l.p_cod = ms_p->text(r, 4);
        fees_ok = fees_ok && ok && l.fee >= 0;
        lines.push_back(l);
    }
    commit_lines(int(lines.size()),
                 {QStringLiteral("대여할 바코드가 존재하지 않습니다!"), QStringLiteral("(%1)건을 대여처리 하시겠습니까?"),
                  QStringLiteral("대여처리실패!"), QStringLiteral("대여처리완료!")},
                 fees_ok,
                 [&] { return save_rentals(*db_con, cod, lines, today(), cur_user, max_cnt); });
}
