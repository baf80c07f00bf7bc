#include "counter/C3.h"
#include "counter/history_actions.h"
#include "data/amounts.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QStyle>

namespace {
struct HandOverCol {
    const char* header;   // nullptr: the caption of an item field
    int width;            // twips; negative: col_w(-width - 1)
    int align;            // -1 default, else FlexGrid::Align
    int from;             // column of the history grid
};

// C3's grid: header, width, alignment and the history column each cell comes from.
const HandOverCol hand_over[20] = {
    {"일련번호", 0, -1, 0},       {"CH", 0, -1, 1},
    {"MK", 0, -1, 2},             {"CNT", 0, FlexGrid::AlignCenter, 3},
    {"대여일자", -2, FlexGrid::AlignCenter, 4}, {"반납예정", -2, FlexGrid::AlignCenter, 5},
    {"반납일자", -2, FlexGrid::AlignCenter, 6}, {"회원코드", -3, FlexGrid::AlignCenter, 7},
    {"회 원 명", 0, -1, 8},       {"바 코 드", -9, FlexGrid::AlignCenter, 9},
    {nullptr, -10, -1, 10},       {nullptr, 0, -1, 11},
    {nullptr, 0, -1, 12},         {nullptr, 0, -1, 13},
    {"대 여 료", -17, FlexGrid::AlignRight, 14}, {"연 체 료", -17, FlexGrid::AlignRight, 15},
    {"결제1", 0, -1, 16},         {"결제2", 0, -1, 17},
    {"마감", 0, -1, 20},          {"비    고", 2500, -1, 21},
};

}

C3::C3(QWidget* parent) : EditDialog(QStringLiteral("C3"), QStringLiteral("대여료/연체료 결제처리"), QStringLiteral("CA"), parent)
{

    fm_sub = named<QFrame>("fm_sub", this);
    fm_sub->setFrameShape(QFrame::StyledPanel);
    Check1 = named<QCheckBox>("Check1", QStringLiteral("대여료결제처리"), fm_sub);
    Check2 = named<QCheckBox>("Check2", QStringLiteral("연체료결제처리"), fm_sub);
    cmd_chk = picture_button(fm_sub, "cmd_chk", QStyle::SP_DialogApplyButton);
    cmd_can = picture_button(fm_sub, "cmd_can", QStyle::SP_DialogCloseButton);

    ms = named<FlexGrid>("ms", this);

    tw_place(Check1, 150, 150, 2000, 330);
    tw_place(Check2, 2250, 150, 2000, 330);
    tw_place(cmd_chk, 0, 90, 600, 450);
    tw_place(cmd_can, 0, 90, 600, 450);
    resize(twips_to_px(13200), twips_to_px(6600));

    connect(cmd_chk, &QPushButton::clicked, this, &C3::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &C3::cmd_can_click);
}

void C3::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    const int w = px_to_twips(width()), h = px_to_twips(height());
    tw_place(fm_sub, 120, 120, w - 240, 630);
    tw_set_left(cmd_can, w - 240 - 600 - 120);
    tw_set_left(cmd_chk, w - 240 - 1200 - 180);
    tw_place(ms, 120, 870, w - 240, h - 990);
}

void C3::showEvent(QShowEvent* e)
{
    // Both fees count as paid until the clerk says otherwise.
    Check1->setChecked(true);
    Check2->setChecked(true);
    QDialog::showEvent(e);
}

int C3::load_rows(const FlexGrid& from)
{
    const QList<int> rows = history::ticked_rows(from);
    ms->set_redraw(false);
    ms->clear_grid();
    ms->set_rows(int(rows.size()) + 1);
    ms->set_cols(20);
    for (int c = 0; c < 20; ++c) {
        const HandOverCol& hc = hand_over[c];
        ms->set_text(0, c, hc.header ? QString::fromUtf8(hc.header) : f_nam(c - 9));
        const int w = hc.width < 0 ? col_w[size_t(-hc.width - 1)] : hc.width;
        ms->set_col_width(c, w);
        ms->set_col_alignment(c, hc.align < 0 ? FlexGrid::AlignLeft : FlexGrid::Align(hc.align));
    }
    ms->set_row_height(0, 440);
    ms->set_row_height(1, 380);
    for (int i = 0; i < int(rows.size()); ++i)
        for (int c = 0; c < 20; ++c) ms->set_text(i + 1, c, from.text(rows[i], hand_over[c].from));
    ms->set_redraw(true);
    ms->set_row(rows.isEmpty() ? 0 : 1);
    return int(rows.size());
}

void C3::cmd_chk_click()
{
    const int n = ms->rows() - 1;
    if (!msg_ask(this, QStringLiteral("(%1)건을 결제처리 하시겠습니까?").arg(amount_text(n)))) return;
    // Each rental with the fees shown here: the payment is for these amounts only.
    QList<history::PaidRental> rows;
    bool rows_ok = true;
    for (int r = 1; r <= n; ++r) {
        history::PaidRental p;
        bool dae_ok = false, yun_ok = false;
        p.key = history::row_key(*ms, r);
        p.dae = parse_amount(ms->text(r, 14), &dae_ok);
        p.yun = parse_amount(ms->text(r, 15), &yun_ok);
        rows_ok = rows_ok && p.key > 0 && dae_ok && yun_ok;
        rows << p;
    }
    open_db();
    const bool written = rows_ok && history::pay_rentals(con(), rows, Check1->isChecked(), Check2->isChecked());
    if (!report_write(written, QStringLiteral("결제처리실패!"), QStringLiteral("결제처리완료!"))) return;
    done(QDialog::Accepted);
}

void C3::cmd_can_click() { done(QDialog::Rejected); }

void C3::on_close()
{
    // The history window's hand-over box falls back; its list follows once a payment was saved.
    if (QWidget* ca = screens::find(QStringLiteral("CA")))
        if (auto* box = ca->findChild<QAbstractButton*>(QStringLiteral("Check2"))) box->setChecked(false);
}
