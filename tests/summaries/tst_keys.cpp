// Tab on the list screens goes through the controls as the clerk reads
// them, whatever order the screen built them in.
#include "summary_support.h"
#include "intake/F1.h"
#include "summaries/E1.h"

#include <QApplication>

namespace {
// The names of the controls that Tab (or Shift+Tab) reaches, n presses from
// the one that has the focus; a part of a date box counts as the box.
QStringList tab_through(QWidget* from, int n, bool back = false)
{
    QStringList out;
    from->setFocus();
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget* f = QApplication::focusWidget();
        if (f && f->objectName().startsWith("qt_") && f->parentWidget()) f = f->parentWidget();
        out << (f ? f->objectName() : QString());
    }
    return out;
}
}

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    void summary_tab_order();
    void terminal_upload_tab_order();
};

void TestKeys::summary_tab_order()
{
    TestShop shop;
    open_shop(shop);
    std::unique_ptr<E1> w(show_window<E1>(1200, 700));
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    // The top bar left to right, the detail box on the summary bar, the grid
    // last (the date boxes take Tab through their own parts first).
    QCOMPARE(tab_through(w->t_gbn, 6), QStringList({"t_chk", "t_ser", "cmd_fnd", "cmd_ext", "Check1", "ms"}));
    QCOMPARE(tab_through(w->Check1, 5, true), QStringList({"cmd_ext", "cmd_fnd", "t_ser", "t_chk", "t_gbn"}));
}

void TestKeys::terminal_upload_tab_order()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    std::unique_ptr<F1> w(show_window<F1>(1200, 700));
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    // Disabled buttons are passed over.
    QCOMPARE(tab_through(w->t_com, 4), QStringList({"cmd_add", "Command2", "cmd_ext", "ms"}));
}

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
