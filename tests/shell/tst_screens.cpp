#include "support/fixture.h"
#include "shell/screens.h"
#include "ui/ListWindow.h"

#include <QPointer>
#include <QTest>

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void closed_window_is_not_found();
};

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
