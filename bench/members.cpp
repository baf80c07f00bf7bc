// The member register's list window (B1): every member in use from MEM with
// his open rentals, and a name search.
#include "bench.h"
#include "registers/B1.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

void members_case(BenchContext& ctx, const QString& name, const QString& field, const QString& ser)
{
    window_case(ctx, name, [] { return new B1; }, [&](ListWindow* w) {
        if (!field.isEmpty()) w->findChild<QComboBox*>(QStringLiteral("t_chk"))->setCurrentText(field);
        w->t_ser->setText(ser);
    });
}

CaseRegistrar all_members(300, "B1.all_members", [](BenchContext& ctx) {
    members_case(ctx, QStringLiteral("B1.all_members"), QString(), QString());
});

CaseRegistrar search_members(310, "B1.search_name", [](BenchContext& ctx) {
    members_case(ctx, QStringLiteral("B1.search_name"), QStringLiteral("회 원 명"), QStringLiteral("김민"));
});

} // namespace
