#pragma once
// Shared by the export and print tests: a small shop with the awkward
// values (leading zeros, apostrophes, amounts with digit grouping) and a
// catcher for the desktop's "open this file" (support/sheet_reader.h).
#include "support/fixture.h"
#include "support/sheet_reader.h"
#include "data/clock.h"
#include "shell/A_main.h"

#include <QLineEdit>
#include <QPushButton>

// Members, categories, items and rentals of early March 2026; today is
// 2026-03-10.
inline void seed_shop(TestShop& shop)
{
    set_today(QDate(2026, 3, 10));
    shop.add_member(QStringLiteral("00012"), QStringLiteral("김하나"));
    shop.add_period(QStringLiteral("00012"), QStringLiteral("2026-01-05"), QStringLiteral("2027-01-05"), 30000);
    shop.add_member(QStringLiteral("00034"), QStringLiteral("O'Neil 오닐"));
    shop.exec(QStringLiteral("update TB1 set tel='02-123-4567', phn='010-9876-5432', adr='서울시 중구 1', "
                             "big='단골''손님', dat='2026-02-01' where cod='00034'"));
    shop.add_member(QStringLiteral("B0003"), QStringLiteral("박셋"), QStringLiteral("B"));
    shop.add_category(QStringLiteral("DVD"));
    shop.add_category(QStringLiteral("도서"));
    shop.exec(QStringLiteral("update TB2 set big='소설''s' where nam='도서'"));
    shop.add_item(QStringLiteral("00000101"), QStringLiteral("DVD"), 1500, 500);
    shop.add_item(QStringLiteral("00000102"), QStringLiteral("DVD"), 2000, 1000, QStringLiteral("Y"), QStringLiteral("Y"));
    shop.add_item(QStringLiteral("00000201"), QStringLiteral("도서"), 12000, 0);
    const char* sql = "insert into TC1 (s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,u_dae,u_ban,big) "
                      "values (?,?,?,?,?,?,?,?,?,'ADMIN',?,?)";
    shop.exec(QString::fromUtf8(sql), {"2026-03-02", "2026-03-05", "2026-03-04", "00012", "00000101", 0, 0, "Y", "Y",
                                       "ADMIN", ""});
    shop.exec(QString::fromUtf8(sql), {"2026-03-02", "2026-03-05", "2026-03-08", "B0003", "00000201", 12000, 1500,
                                       "Y", "N", "ADMIN", "it's late"});
    shop.exec(QString::fromUtf8(sql), {"2026-03-05", "2026-03-08", "", "00034", "00000102", 2000, 0, "N", "N", "",
                                       ""});
}

// A fresh shop logged in as ADMIN and seeded; null when it cannot be made.
inline std::unique_ptr<TestShop> seeded_shop()
{
    auto shop = std::make_unique<TestShop>();
    if (!shop->ok() || !shop->login_admin()) return nullptr;
    seed_shop(*shop);
    return shop;
}

// Logs in on the main window's panel as a clerk does.
inline bool log_in(A_main& w, const QString& name, const QString& password)
{
    w.t_nam->setText(name);
    w.t_pas->setText(password);
    w.cmd_ok->click();
    return w.logged_in();
}
