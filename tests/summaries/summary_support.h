#pragma once
// Seeding the summary tests: the counter tests' shop (today 2026-12-08,
// haebi 30000) and rentals, members with their joining day.
#include "counter/tst_rental_support.h"
#include "shell/screens.h"
#include "summaries/SummaryWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

inline void join(TestShop& shop, const QString& cod, const QString& nam, const QString& gbn, const QString& dat,
                 const QString& act = QStringLiteral("Y"))
{
    shop.add_member(cod, nam, gbn, act);
    shop.exec("update TB1 set dat=? where cod=?", {dat, cod});
}

// A rental of an item that is back (the item itself does not matter here).
inline void rent(TestShop& shop, const QString& m_cod, const QString& s_dat, qint64 dae, qint64 yun,
                 const QString& dae_chk, const QString& yun_chk, const QString& p_cod = QStringLiteral("X1"))
{
    add_rental(shop, m_cod, p_cod, s_dat, s_dat, s_dat, dae, yun, dae_chk, yun_chk);
}

inline void search(SummaryWindow& w, const QDate& d1, const QDate& d2, int field = 0, const QString& text = {})
{
    w.t_date1->setDate(d1);
    w.t_date2->setDate(d2);
    w.t_chk->setCurrentIndex(field);
    w.t_ser->setText(text);
    QTest::mouseClick(w.cmd_fnd, Qt::LeftButton);
}

inline const char* const k_no_data = "검색 또는 등록된 자료가 존재하지 않습니다!";

// The grid's empty state: the header row alone, one empty column.
inline bool grid_empty(FlexGrid* ms) { return ms->rows() == 1 && ms->cols() == 1 && ms->text(0, 0).isEmpty(); }

// After a load that found nothing: the grid empty, the no-data text, the bar at 0.
inline bool shows_no_data(SummaryWindow& w)
{
    return grid_empty(w.ms) && w.la_inf->text() == QString(k_no_data) && w.PB->value() == 0;
}

namespace popups {
inline QStringList& seen() { static QStringList s; return s; }
inline void record(const QString& name, const QPoint&) { seen() << name; }
}

// Right-clicks, then left-clicks the first data cell; the popups asked for.
inline QStringList clicks_on_grid(FlexGrid* ms)
{
    popups::seen().clear();
    screens::set_popup_handler(popups::record);
    const QRect cell = ms->visualRect(ms->model()->index(0, 3));
    QTest::mouseClick(ms->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseClick(ms->viewport(), Qt::RightButton, {}, cell.center());
    return popups::seen();
}
