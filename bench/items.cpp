// The item register's list window (B4): every item in use, and a search by
// the first item field.
#include "bench.h"
#include "data/state.h"
#include "registers/B4.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

void items_case(BenchContext& ctx, const QString& name, const QString& field, const QString& ser)
{
    window_case(ctx, name, [] { return new B4; }, [&](ListWindow* w) {
        w->findChild<QComboBox*>(QStringLiteral("t_chk"))->setCurrentText(field);
        w->t_ser->setText(ser);
    });
}

CaseRegistrar all_items(200, "B4.all_items", [](BenchContext& ctx) {
    items_case(ctx, QStringLiteral("B4.all_items"), QStringLiteral("바 코 드"), QString());
});

CaseRegistrar search_items(210, "B4.search_f1", [](BenchContext& ctx) {
    // A word about one title in twenty holds.
    items_case(ctx, QStringLiteral("B4.search_f1"), f_nam(1), QStringLiteral("바람"));
});

} // namespace
