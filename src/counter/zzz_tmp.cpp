#include "counter/zzz_tmp.h"
#include "counter/rentals.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QDateEdit>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
QLineEdit* box(QWidget* parent, const char* name)
{
    return named<QLineEdit>(name, parent);
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QLatin1String(name));
    return l;
}

// Val(): the leading number of a text, 0 when there is none.
qint64 leading_number(const QString& text)
{
    bool ok = false;
    const qint64 v = parse_amount(text, &ok);
    return ok ? v : 0;
}

bool is_numeric(const QString& text)
{
    bool ok = false;
    parse_amount(text, &ok);
    return ok && !text.trimmed().isEmpty();
}
}

zzz_tmp::zzz_tmp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zzz_tmp"));
    setWindowTitle(QStringLiteral("Form1"));
    setModal(true);

    // Member area
    t_m_cod = box(this, "t_m_cod");
    t_m_cod2 = box(this, "t_m_cod2");
    t_m_cod2->setReadOnly(true);
    t_meesoo = box(this, "t_meesoo");
    t_old_cnt = box(this, "t_old_cnt");
    t_ava_cnt = box(this, "t_ava_cnt");
    la_m_cnt = label(this, "la_m_cnt", QString());
    ms_m = named<FlexGrid>("ms_m", this);

    // Item area
    t_p_cod = box(this, "t_p_cod");
    t_p_dat = date_picker(this, "t_p_dat");
    t_p_dae = box(this, "t_p_dae");
    t_p_yun = box(this, "t_p_yun");
    la_p_cnt = label(this, "la_p_cnt", QString());
    ms_p = named<FlexGrid>("ms_p", this);

    t_p_dae_tot = box(this, "t_p_dae_tot");
    t_p_yun_tot = box(this, "t_p_yun_tot");
    t_tot_money = box(this, "t_tot_money");
    t_kyu_money = box(this, "t_kyu_money");

    cmd_add = picture_button(this, "cmd_add", QStyle::SP_DialogSaveButton);
    cmd_clr = picture_button(this, "cmd_clr", QStyle::SP_BrowserReload);
    cmd_ext = picture_button(this, "cmd_ext", QStyle::SP_DialogCloseButton);

    tw_place(t_m_cod, 120, 120, 1500, 330);
    tw_place(t_m_cod2, 1680, 120, 900, 330);
    tw_place(t_meesoo, 2640, 120, 1300, 330);
    tw_place(t_old_cnt, 4000, 120, 700, 330);
    tw_place(t_ava_cnt, 4760, 120, 700, 330);
    tw_place(la_m_cnt, 5520, 120, 900, 330);
    tw_place(ms_m, 120, 540, 9600, 2400);
    tw_place(t_p_cod, 120, 3060, 1800, 330);
    tw_place(t_p_dat, 1980, 3060, 1500, 330);
    tw_place(t_p_dae, 3540, 3060, 1200, 330);
    tw_place(t_p_yun, 4800, 3060, 1200, 330);
    tw_place(la_p_cnt, 6060, 3060, 900, 330);
    tw_place(ms_p, 120, 3480, 9600, 2400);
    tw_place(t_p_dae_tot, 120, 6000, 1500, 330);
    tw_place(t_p_yun_tot, 1680, 6000, 1500, 330);
    tw_place(t_tot_money, 3240, 6000, 1500, 330);
    tw_place(t_kyu_money, 4800, 6000, 1500, 330);
    tw_place(cmd_add, 7200, 5960, 780, 420);
    tw_place(cmd_clr, 8040, 5960, 780, 420);
    tw_place(cmd_ext, 8880, 5960, 780, 420);
    resize(twips_to_px(9960), twips_to_px(6600));

    t_p_cod->installEventFilter(this);
    connect(cmd_add, &QPushButton::clicked, this, &zzz_tmp::cmd_add_click);
    connect(cmd_clr, &QPushButton::clicked, this, &zzz_tmp::cmd_clr_click);
    connect(cmd_ext, &QPushButton::clicked, this, &zzz_tmp::cmd_ext_click);

    cmd_clr_click();
}

bool zzz_tmp::eventFilter(QObject* o, QEvent* e)
{
    if (o == t_p_cod && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            t_p_cod_keydown(key);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void zzz_tmp::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    set_ms_p_widths();
}

void zzz_tmp::set_ms_p_widths()
{
    if (ms_p->cols() < 6) return;
    ms_p->set_col_width(0, 0);
    ms_p->set_col_width(1, 1200);
    ms_p->set_col_width(2, 1500);
    ms_p->set_col_width(3, 1500);
    ms_p->set_col_width(4, 1500);
    ms_p->set_col_width(5, std::max(0, tw_rect(ms_p).width - 1200 - 1500 * 3 - 330));
}

void zzz_tmp::set_m_cod_locked(bool on) { t_m_cod->setReadOnly(on); }
bool zzz_tmp::m_cod_locked() const { return t_m_cod->isReadOnly(); }

void zzz_tmp::cmd_clr_click()
{
    t_p_dat->setDate(today());

    ms_m->clear_cells();
    ms_m->set_rows(max_cnt + 1);
    ms_m->set_cols(5);
    ms_m->set_row_height(0, 500);
    ms_m->set_row_height(1, 400);
    const char* m_heads[] = {"", "대여일", "반납일", "바코드"};
    for (int c = 0; c < 4; ++c) ms_m->set_text(0, c, QString::fromUtf8(m_heads[c]));
    ms_m->set_text(0, 4, f1_nam);
    ms_m->set_col_width(0, 0);
    ms_m->set_col_width(1, 1200);
    ms_m->set_col_width(2, 1200);
    ms_m->set_col_width(3, 1500);
    ms_m->set_col_width(4, std::max(0, tw_rect(ms_m).width - 1200 - 1200 - 1500 - 330));
    for (int c = 1; c <= 3; ++c) ms_m->set_col_alignment(c, FlexGrid::AlignCenter);

    ms_p->clear_cells();
    ms_p->set_rows(max_cnt + 1);
    ms_p->set_cols(6);
    ms_p->set_row_height(0, 500);
    ms_p->set_row_height(1, 400);
    const char* p_heads[] = {"", "반납일", "대여료", "연체료", "바코드"};
    for (int c = 0; c < 5; ++c) ms_p->set_text(0, c, QString::fromUtf8(p_heads[c]));
    ms_p->set_text(0, 5, f1_nam);
    ms_p->set_col_alignment(1, FlexGrid::AlignCenter);
    ms_p->set_col_alignment(2, FlexGrid::AlignRight);
    ms_p->set_col_alignment(3, FlexGrid::AlignRight);
    ms_p->set_col_alignment(4, FlexGrid::AlignCenter);
    set_ms_p_widths();

    for (QLineEdit* b : {t_m_cod, t_m_cod2, t_old_cnt, t_ava_cnt, t_p_cod, t_p_dae}) b->clear();
    la_m_cnt->clear();
    la_p_cnt->clear();
    set_m_cod_locked(false);
    t_m_cod->setStyleSheet(QStringLiteral("background-color: white;"));
    t_m_cod->setFocus();
}

void zzz_tmp::t_p_cod_keydown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    open_db();
    t_p_cod->setText(counter_code(shared_con(), CodeOf::Item, t_p_cod->text()));
    list_sql = Query(
        "select z.idx,z.sta,z.s_dat,z.e_dat,z.c_dat,z.m_cod,m.nam,z.p_cod,p.f1_nam,p.f2_nam,p.f3_nam,p.f4_nam,"
        "z.mon_sel1,z.mon_yun1,z.chk_sel,z.chk_yun,z.mon_sel2,z.mon_yun2,z.mgm,p.yun "
        "from TC1 as z,TB1 as m,TB4 as p where z.m_cod=m.cod and z.p_cod=p.cod and z.e_dat='' and z.p_cod=? "
        "order by idx LIMIT 1",
        {t_p_cod->text()});
    // No open rental of this barcode: nothing happens.
    if (!open_rs(list_sql)) return;

    const QString m_cod = rs.text(QStringLiteral("m_cod"));
    if (m_cod_locked() && m_cod != t_m_cod->text()) {
        msg_info(this, QStringLiteral("회원코드가 다르면 먼저 반납처리후 등록하세요!"));
        t_p_cod->clear();
        return;
    }
    if (!m_cod_locked()) fill_box(t_m_cod, m_cod);

    t_p_dae->setText(rs.text(QStringLiteral("chk_sel")) == QStringLiteral("N")
                         ? amount_text(rs.num(QStringLiteral("mon_sel1")))
                         : QStringLiteral("0"));
    const QDate due = parse_date(rs.text(QStringLiteral("c_dat")));
    const qint64 late_days = due.isValid() ? due.daysTo(today()) : 0;
    t_p_yun->setText(late_days > 0 ? amount_text(late_days * rs.num(QStringLiteral("yun"))) : QStringLiteral("0"));

    const QString barcode = rs.text(QStringLiteral("p_cod"));
    const QString name1 = rs.text(QStringLiteral("f1_nam"));
    auto done_row = [this] {
        t_p_cod->clear();
        t_p_dae->clear();
        t_p_yun->clear();
        t_p_cod->setFocus();
        count_items();
    };
    for (int r = 1; r < ms_p->rows(); ++r) {
        if (ms_p->text(r, 4) == barcode) {
            done_row();
            t_m_cod->setStyleSheet(QStringLiteral("background-color: rgb(60, 30, 180);"));
            set_m_cod_locked(true);
            show_member();
            return;
        }
        if (ms_p->text(r, 4).isEmpty()) {
            ms_p->set_text(r, 1, date_text(t_p_dat->date()));
            ms_p->set_text(r, 2, t_p_dae->text());
            ms_p->set_text(r, 3, t_p_yun->text());
            ms_p->set_text(r, 4, barcode);
            ms_p->set_text(r, 5, name1);
            done_row();
            t_m_cod->setStyleSheet(QStringLiteral("color: rgb(60, 30, 180);"));
            set_m_cod_locked(true);
            show_member();
            return;
        }
    }
    show_member();
}

void zzz_tmp::show_member()
{
    open_db();
    t_m_cod->setText(counter_code(shared_con(), CodeOf::Member, t_m_cod->text()));
    const QString code = t_m_cod->text();
    if (!open_rs(Query("select * from Tb1 where cod=?", {code}))) return;
    t_m_cod2->setText(QStringLiteral("(") + rs.text(QStringLiteral("gbn")) + QStringLiteral(")"));

    list_sql = Query("SELECT sum(m_sel),sum(m_yun) FROM ("
                     "SELECT sum(mon_sel1-mon_sel2) as m_sel,0 as m_yun FROM TC1 as z where z.chk_sel='N' and m_cod=? "
                     "UNION ALL "
                     "SELECT 0 as m_sel,sum(mon_yun1-mon_yun2) as m_yun from TC1 as z where z.chk_yun='N' and m_cod=?)"
                     "AS MEESOO",
                     {code, code});
    t_meesoo->setText(open_rs(list_sql) ? amount_text(rs.num(0) + rs.num(1)) : QStringLiteral("0"));

    ms_m->clear_cells();
    const char* m_heads[] = {"", "대여일", "반납일", "바코드"};
    for (int c = 0; c < 4; ++c) ms_m->set_text(0, c, QString::fromUtf8(m_heads[c]));
    ms_m->set_text(0, 4, f1_nam);
    int n = 0;
    if (open_rs(Query("select z.idx,z.s_dat,z.e_dat,z.p_cod,p.f1_nam from TC1 as z,TB4 as p "
                      "where z.p_cod=p.cod and z.m_cod=? and z.e_dat='' order by z.s_dat desc",
                      {code}))) {
        for (; !rs.eof(); rs.move_next()) {
            ++n;
            if (n >= ms_m->rows()) ms_m->add_row();
            for (int c = 1; c <= 4; ++c) ms_m->set_text(n, c, rs.text(c));
        }
    }
    t_old_cnt->setText(amount_text(n));
    t_ava_cnt->setText(amount_text(max_cnt - n));
    la_m_cnt->setText(QStringLiteral("%1건").arg(amount_text(n)));
    t_p_cod->setFocus();
}

void zzz_tmp::count_items()
{
    int n = 0;
    for (int r = 1; r < ms_p->rows(); ++r)
        if (is_numeric(ms_p->text(r, 2))) ++n;
    la_p_cnt->setText(QStringLiteral("%1건").arg(amount_text(n)));
}

void zzz_tmp::cmd_add_click()
{
    open_db();
    if (!open_rs(Query("select * from TB1 where cod=?", {t_m_cod->text()}))) {
        msg_info(this, QStringLiteral("회원코드를 확인하지 못하였습니다!"));
        return;
    }
    QList<int> rows;
    for (int r = 1; r < ms_p->rows(); ++r)
        if (!ms_p->text(r, 3).isEmpty()) rows << r;
    if (rows.isEmpty()) {
        msg_info(this, QStringLiteral("대여할 바코드가 존재하지 않습니다!"));
        return;
    }
    if (!check_db(this)) return;
    if (!msg_ask(this, QStringLiteral("(%1)건을 대여처리 하시겠습니까?").arg(rows.size())))
        return;

    // The form has no box for a payment at the counter: nothing settled, nothing paid.
    const QString settled = QStringLiteral("N");
    const qint64 paid = 0;
    bool ok = false;
    {
        Transaction t(*db_con);
        // A member deleted at another desk since the check gets no rental.
        ok = t.ok() && member_registered(*db_con, t_m_cod->text());
        for (int r : rows) {
            if (!ok) break;
            const QString barcode = ms_p->text(r, 3);
            ok = t.exec(Query("insert into TC1(sta,m_cod,p_cod,s_dat,e_dat,c_dat,mon_sel1,mon_yun1,chk_sel,chk_yun,"
                              "mon_sel2,mon_yun2,mgm) values (?,?,?,?,'',?,?,0,?,'N',?,0,'N')",
                              {QStringLiteral("대기"), t_m_cod->text(), barcode, today_text(), ms_p->text(r, 1),
                               leading_number(ms_p->text(r, 2)), settled, paid})) >= 0
                 && t.exec(Query("update TB4 set sta='Y' where cod=?", {barcode})) >= 0;
        }
        ok = ok && t.commit();
    }
    if (!ok) {
        msg_info(this, QStringLiteral("대여처리실패!"));
        return;
    }
    msg_info(this, QStringLiteral("대여처리완료!"));
    cmd_clr_click();
}

void zzz_tmp::cmd_ext_click()
{
    close();
    if (QWidget* ca = screens::find(QStringLiteral("CA"))) ca->showMaximized();
}
