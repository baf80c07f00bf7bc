#include "summary_support.h"
#include "data/schema.h"
#include "shell/A_main.h"
#include "summaries/E1.h"
#include "summaries/E2.h"
#include "summaries/E3.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {
QStringList open_screens(A_main& w)
{
    QStringList out;
    for (QMdiSubWindow* s : w.mdi->subWindowList())
        if (s->widget()) out << s->widget()->objectName();
    return out;
}
}

// The summaries as the main window opens and closes them.
class TestOpen : public QObject {
    Q_OBJECT
private slots:
    void menus_open_maximised_and_close();
};

void TestOpen::menus_open_maximised_and_close()
{
    TestShop shop;
    set_today(day0());
    MsgResponder r;
    A_main w;
    screens::register_all_screens();
    w.show();
    w.t_nam->setText("ADMIN");
    w.t_pas->setText(delivered_admin_password());
    w.cmd_ok->click();
    QVERIFY(w.logged_in());

    QCOMPARE(w.menu_action("정회원별거래집계")->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(w.menu_action("비회원별거래집계")->shortcut(), QKeySequence(Qt::Key_F6));
    w.menu_action("정회원별거래집계")->trigger();
    QCOMPARE(open_screens(w), QStringList{"E1"});
    QVERIFY(qobject_cast<E1*>(screens::find("E1")));
    QVERIFY(w.mdi->subWindowList().constFirst()->isMaximized());
    // The next command closes it first.
    QPointer<QWidget> e1 = screens::find("E1");
    w.menu_action("비회원별거래집계")->trigger();
    QVERIFY(!e1);
    QCOMPARE(open_screens(w), QStringList{"E2"});
    QVERIFY(w.mdi->subWindowList().constFirst()->isMaximized());
    // Its exit button.
    auto* e2 = qobject_cast<E2*>(screens::find("E2"));
    QVERIFY(e2);
    QTest::mouseClick(e2->cmd_ext, Qt::LeftButton);
    QTRY_VERIFY(open_screens(w).isEmpty());
    // The per-item summary, opened as its unused procedure would, goes with
    // the closing of all screens.
    screens::close_all();
    screens::show_list(screens::create("E3"));
    QVERIFY(qobject_cast<E3*>(screens::find("E3")));
    screens::close_all();
    QVERIFY(!screens::find("E3"));
    // Log-out closes an open summary.
    w.menu_action("정회원별거래집계")->trigger();
    QVERIFY(screens::find("E1"));
    w.menu_action("처음화면으로이동")->trigger();
    QVERIFY(!screens::find("E1"));
    QTRY_VERIFY(open_screens(w).isEmpty());
    QVERIFY(r.texts.isEmpty());
}

QTEST_MAIN(TestOpen)
#include "tst_open.moc"
