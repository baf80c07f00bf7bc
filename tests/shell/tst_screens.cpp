#include "support/fixture.h"
#include "shell/screens.h"
#include "ui/ListWindow.h"
#include "admin/A1.h"
#include "admin/A2.h"
#include "admin/A2_add_edt.h"
#include "admin/A3.h"
#include "admin/A3_add_edt.h"
#include "admin/A4.h"
#include "counter/C1.h"
#include "counter/C2.h"
#include "counter/C3.h"
#include "counter/CA.h"
#include "counter/zzz_tmp.h"
#include "intake/F1.h"
#include "intake/F2.h"
#include "registers/B1.h"
#include "registers/B1_add_edt.h"
#include "registers/B2.h"
#include "registers/B2_add_edt.h"
#include "registers/B4.h"
#include "registers/B4_add_edt.h"
#include "registers/B4_pro.h"
#include "registers/pop_cst.h"
#include "registers/pop_pdt.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <memory>

#include <QPointer>
#include <QTest>

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void closed_window_is_not_found();
    void every_option_pair_has_its_own_group();
};

// Option buttons that share a parent (or lie below another pair's parent)
// must not exclude each other: each pair is a group of its own.
void TestScreens::every_option_pair_has_its_own_group()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    const std::vector<std::function<QWidget*()>> makers = {
        [] { return new A1; },         [] { return new A2; },         [] { return new A2_add_edt; },
        [] { return new A3; },         [] { return new A3_add_edt; }, [] { return new A4; },
        [] { return new B1; },         [] { return new B1_add_edt; }, [] { return new B2; },
        [] { return new B2_add_edt; }, [] { return new B4; },         [] { return new B4_add_edt; },
        [] { return new B4_pro; },     [] { return new pop_cst; },    [] { return new pop_pdt; },
        [] { return new C1; },         [] { return new C2; },         [] { return new C3; },
        [] { return new CA; },         [] { return new zzz_tmp; },    [] { return new F2; },
        [] { return new F1; },
    };
    int options = 0;
    for (const auto& make : makers) {
        std::unique_ptr<QWidget> w(make());
        for (QRadioButton* op : w->findChildren<QRadioButton*>()) {
            ++options;
            const QString where = w->objectName() + QStringLiteral(".") + op->objectName();
            QButtonGroup* g = op->group();
            QVERIFY2(g, qPrintable(where));
            QVERIFY2(g->exclusive(), qPrintable(where));
            QCOMPARE(g->buttons().size(), 2);
            for (QAbstractButton* other : g->buttons()) QCOMPARE(other->parentWidget(), op->parentWidget());
        }
    }
    QCOMPARE(options, 12);   // B1, B1_add_edt (two pairs), B4, and the paid option of C1 and C2
}

// A list window closed by its own button must not be found (nor reloaded)
// while its deletion still waits in the event queue.
void TestScreens::closed_window_is_not_found()
{
    TestShop shop;
    QPointer<ListWindow> w = new ListWindow("B2", "품목분류", {});
    w->show();
    QCOMPARE(screens::find("B2"), w.data());
    w->close();
    QVERIFY(w);  // not deleted yet
    QVERIFY(!screens::find("B2"));
    QVERIFY(!screens::reload("B2"));
    QTRY_VERIFY(!w);
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
