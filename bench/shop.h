#pragma once
#include <QDate>
#include <QString>

// The big shop the benchmark runs on: a delivered program folder whose
// PGM.mdb holds eight years of a busy shop.
struct ShopInfo {
    QString folder;       // program folder (CONPATH.txt "S", PGM.mdb)
    QDate today;          // the last day of the generated business
    qint64 members = 0, periods = 0, items = 0, rentals = 0;
    qint64 out = 0, overdue = 0;
    double gen_seconds = 0;   // 0 when taken from the cache
};

// Bumped whenever the generated data changes; the cache is keyed by it.
constexpr int kShopVersion = 2;

// Returns the cached shop under base (base/v<version>), generating it first
// when it is missing. today() is set to the shop's last day.
bool ensure_shop(const QString& base, ShopInfo* info, QString* error);

// Copies the cached shop's program folder to work (replacing it), so cases
// that write never change the cache.
bool copy_shop(const ShopInfo& shop, const QString& work, QString* error);
