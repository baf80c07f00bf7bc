#include "counter/CA_actions.h"
#include "counter/C3.h"
#include "counter/CA.h"
#include "counter/history_actions.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/messages.h"
#include "ui/msgbox.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>

void install_history_actions(CA* ca)
{
    if (ca && !ca->findChild<CA_actions*>()) new CA_actions(ca);
}

// The boxes act on every change of their value, as a click does; the boxes
// used as push buttons act only when they have just become ticked.
CA_actions::CA_actions(CA* ca) : QObject(ca), ca_(ca)
{
    setObjectName(QStringLiteral("CA_actions"));
    connect(ca->Check1, &QCheckBox::toggled, this, &CA_actions::Check1_click);
    connect(ca->Check2, &QCheckBox::toggled, this, &CA_actions::Check2_click);
    connect(ca->Check3, &QCheckBox::toggled, this, &CA_actions::Check3_click);
    connect(ca->Check4, &QCheckBox::toggled, this, &CA_actions::Check4_click);
    connect(ca->Check5, &QCheckBox::toggled, this, &CA_actions::Check5_click);
    connect(ca->Check6, &QCheckBox::toggled, this, &CA_actions::Check6_click);
    connect(ca->ms, &FlexGrid::DblClick, this, &CA_actions::ms_dblclick);
    connect(ca->cmd_del, &QPushButton::clicked, this, &CA_actions::cmd_del_click);
}

void CA_actions::Check1_click() { ca_->set_col_width(); }

void CA_actions::exclusive_filter(QAbstractButton* clicked)
{
    // At most one filter: ticking one drops the others; the list follows either way.
    if (clicked->isChecked()) {
        for (QCheckBox* b : {ca_->Check3, ca_->Check4, ca_->Check6}) {
            if (b == clicked) continue;
            const QSignalBlocker quiet(b);
            b->setChecked(false);
        }
    }
    ca_->ms_list();
}

void CA_actions::Check3_click() { exclusive_filter(ca_->Check3); }
void CA_actions::Check4_click() { exclusive_filter(ca_->Check4); }
void CA_actions::Check6_click() { exclusive_filter(ca_->Check6); }

void CA_actions::Check2_click()
{
    QCheckBox* box = ca_->Check2;
    if (!box->isChecked()) return;
    if (history::ticked_rows(*ca_->ms).isEmpty()) {
        msg_info(ca_, QStringLiteral("결제처리할 항목이 선택되지 않았습니다!"));
        box->setChecked(false);
        return;
    }
    C3* dlg = screens::kept<C3>();
    dlg->load_rows(*ca_->ms);
    dlg->exec();
    // Closing the dialog drops the box already; a dialog that never showed must not leave it ticked.
    box->setChecked(false);
}

void CA_actions::Check5_click()
{
    QCheckBox* box = ca_->Check5;
    if (!box->isChecked()) return;
    FlexGrid* ms = ca_->ms;
    const QList<int> rows = history::ticked_rows(*ms);
    for (int r : rows) {
        if (!ms->text(r, 6).isEmpty()) {
            msg_info(ca_, QStringLiteral("반납된 자료는 연장처리할 수 없습니다!"));
            box->setChecked(false);
            return;
        }
    }
    if (rows.isEmpty()) {
        msg_info(ca_, QStringLiteral("연장처리할 항목이 선택되지 않았습니다!"));
        box->setChecked(false);
        return;
    }
    if (!msg_ask(ca_, QStringLiteral("(%1)건의 데이터의 대여기간을 연장 처리하시겠습니까?").arg(rows.size()))) {
        box->setChecked(false);
        return;
    }
    if (!check_db(ca_)) {
        box->setChecked(false);
        return;
    }
    QList<qint64> keys;
    for (int r : rows) keys << history::row_key(*ms, r);
    if (keys.contains(0) || !history::extend_rentals(*db_con, keys, max_dat)) {
        msg_info(ca_, QStringLiteral("데이터처리실패!"));
        box->setChecked(false);
        return;
    }
    msg_info(ca_, QStringLiteral("데이터처리완료!"));
    box->setChecked(false);
    ca_->ms_list();
}

void CA_actions::ms_dblclick()
{
    FlexGrid* ms = ca_->ms;
    const int r = ms->row();
    if (ms->cols() < 2 || r < 1 || r >= ms->rows() || ms->text(r, 0).isEmpty()) return;
    ms->set_text(r, 1, ms->text(r, 1).isEmpty() ? QStringLiteral("√") : QString());
}

void CA_actions::cmd_del_click()
{
    if (!check_right(ca_, QStringLiteral("del"))) return;
    FlexGrid* ms = ca_->ms;
    if (ms->rows() < 2 || ms->cols() < 10) return;
    if (!check_db(ca_)) return;
    // The row under the cursor; a subtotal or total row has no rental to delete.
    const int r = ms->row();
    const qint64 key = history::row_key(*ms, r);
    if (key <= 0) return;
    if (!msg_ask(ca_, QStringLiteral("대여일 [%1]\n\n바코드 [%2]\n\n선택하신 거래내역을 삭제하시겠습니까?")
                          .arg(ms->text(r, 4), ms->text(r, 9))))
        return;
    if (!history::delete_rental(*db_con, key)) {
        msg_info(ca_, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(ca_, QStringLiteral("삭제완료!"));
    ca_->ms_list();
}
