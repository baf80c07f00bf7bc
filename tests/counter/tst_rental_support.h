#pragma once
// Helpers shared by the counter tests: driving C1/C2 as a clerk would.
#include "support/fixture.h"
#include "counter/C1.h"
#include "data/clock.h"
#include "data/state.h"
#include "ui/FlexGrid.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

inline QDate day0() { return QDate(2026, 12, 8); }
inline QString dstr(int offset) { return day0().addDays(offset).toString("yyyy-MM-dd"); }

// A shop logged in as ADMIN with the date fixed; settings: max_dat 3,
// max_cnt 5, haebi 30000.
inline void open_shop(TestShop& shop)
{
    QVERIFY(shop.ok());
    set_today(day0());
    QVERIFY(shop.login_admin());
    shop.add_category("DVD");
}

inline void add_rental(TestShop& shop, const QString& m_cod, const QString& p_cod, const QString& s_dat,
                       const QString& c_dat, const QString& e_dat = QString(), qint64 dae = 0, qint64 yun = 0,
                       const QString& dae_chk = "Y", const QString& yun_chk = "N")
{
    shop.exec("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big,mgm,ccc) "
              "values (?,?,?,?,?,?,?,?,?,'ADMIN','','','N',0)",
              {s_dat, c_dat, e_dat, m_cod, p_cod, dae, yun, dae_chk, yun_chk});
    if (e_dat.isEmpty()) shop.exec("update TB4 set sta='Y' where cod=?", {p_cod});
}

inline void enter_member(CounterForm& d, const QString& code)
{
    d.t_m_cod->setText(code);
    press_enter(d.t_m_cod);
}

inline void scan(CounterForm& d, const QString& code)
{
    d.t_p_cod->setText(code);
    press_enter(d.t_p_cod);
}

// Double-clicks a row of the item list, opening the edit panel.
inline void dbl_click_row(FlexGrid* g, int r)
{
    const QModelIndex i = g->model()->index(r - 1, 2);
    g->scrollTo(i);
    const QRect rect = g->visualRect(i);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, rect.center());
}

inline QStringList row_texts(FlexGrid* g, int r)
{
    QStringList out;
    for (int c = 0; c < g->cols(); ++c) out << g->text(r, c);
    return out;
}
