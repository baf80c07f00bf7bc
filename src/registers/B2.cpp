#include "registers/B2.h"
#include "registers/B2_add_edt.h"
#include "registers/categories.h"
#include "data/state.h"
#include "data/text.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char* kNoRight = "프로그램에서 승인할 수 없는 사용자입니다!";
const char* kNoDb = "(서버)데이터베이스연결실패!";
}

B2::B2(QWidget* parent)
    : ListWindow(QStringLiteral("B2"), QStringLiteral("품목분류정보관리"), Frame(), parent)
{
    using namespace list_frame;
    t_gbn = new QComboBox(fm_sub);
    t_gbn->setObjectName(QStringLiteral("t_gbn"));
    tw_place(t_gbn, 120, ctl_top, 1500, ctl_height);
    t_chk = new QComboBox(fm_sub);
    t_chk->setObjectName(QStringLiteral("t_chk"));
    tw_place(t_chk, 1680, ctl_top, 1300, ctl_height);
    set_search_left(3040);

    la_usr->setText(cur_user);
    t_gbn->addItem(QStringLiteral("전체보기"));
    t_gbn->setCurrentIndex(0);
    t_chk->addItem(QStringLiteral("분 류 명"));
    t_chk->addItem(QStringLiteral("비    고"));
    t_chk->setCurrentIndex(0);

    connect(cmd_fnd, &QPushButton::clicked, this, &B2::cmd_fnd_click);
    connect(t_ser, &QLineEdit::returnPressed, this, &B2::cmd_fnd_click);
    t_ser->installEventFilter(this);
    connect(cmd_add, &QPushButton::clicked, this, &B2::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &B2::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &B2::cmd_del_click);
    connect(ms, &FlexGrid::MouseDown, this, &B2::ms_mouse_down);

    ms_list();
}

B2::~B2() = default;

bool B2::eventFilter(QObject* o, QEvent* e)
{
    if (o == t_ser && e->type() == QEvent::MouseButtonDblClick) {
        t_ser->clear();
        return true;
    }
    return ListWindow::eventFilter(o, e);
}

void B2::resizeEvent(QResizeEvent* e)
{
    ListWindow::resizeEvent(e);
    set_col_width();
}

void B2::showEvent(QShowEvent* e)
{
    ListWindow::showEvent(e);
    set_col_width();
}

void B2::set_col_width() { b2_set_col_width(*ms, tw_rect(ms).width); }

void B2::clear_grid()
{
    ms->clear_cells();
    ms->set_rows(1);
    ms->set_cols(1);
}

int B2::current_row() const
{
    if (ms->rows() <= 1) return 0;
    const int r = ms->row();
    return r >= 1 && r < ms->rows() ? r : 0;
}

void B2::ms_list()
{
    clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    if (!open_db()) {
        msg_info(this, QString::fromUtf8(kNoDb));
        return;
    }
    list_sql = b2_list_query(t_gbn->currentText(), t_chk->currentText(), t_ser->text());
    const int n = b2_fill_grid(*ms, list_sql);
    la_inf->setText(list_count_text(n));
    if (n == 0) return;
    ms->set_row(1);
    set_col_width();
}

void B2::cmd_fnd_click() { ms_list(); }

void B2::ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton) screens::popup(QStringLiteral("POP2"), global_pos);
}

void B2::cmd_add_click()
{
    if (!has_right(user_rights, QStringLiteral("add"))) {
        msg_info(this, QString::fromUtf8(kNoRight));
        return;
    }
    B2_add_edt* d = screens::kept<B2_add_edt>();
    d->form_load();
    d->t_chk->setText(QStringLiteral("add"));
    d->exec();
}

void B2::cmd_edt_click()
{
    if (!has_right(user_rights, QStringLiteral("edt"))) {
        msg_info(this, QString::fromUtf8(kNoRight));
        return;
    }
    const int r = current_row();
    if (r == 0) return;
    B2_add_edt* d = screens::kept<B2_add_edt>();
    d->form_load();
    d->t_chk->setText(QStringLiteral("edt"));
    d->t_nam->setText(ms->text(r, 1));
    d->t_big->setText(ms->text(r, 2));
    d->exec();
}

void B2::cmd_del_click()
{
    if (!has_right(user_rights, QStringLiteral("del"))) {
        msg_info(this, QString::fromUtf8(kNoRight));
        return;
    }
    const int r = current_row();
    if (r == 0) return;
    if (!open_db()) {
        msg_info(this, QString::fromUtf8(kNoDb));
        return;
    }
    const QString nam = ms->text(r, 1);
    switch (category_in_use(nam)) {
    case Lookup::Failed:
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    case Lookup::Found:
        msg_info(this, QStringLiteral("품목정보에 해당정보가 연결되어 있으므로 삭제할 수 없습니다!"));
        return;
    case Lookup::None:
        break;
    }
    if (!msg_ask(this, QStringLiteral("[") + nam + QStringLiteral("]항목을 삭제하시겠습니까?"))) return;
    if (!category_delete(nam)) {
        msg_info(this, QStringLiteral("삭제실패!"));
        return;
    }
    msg_info(this, QStringLiteral("삭제완료!"));
    ms_list();
}
