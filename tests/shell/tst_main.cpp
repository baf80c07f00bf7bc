#include "support/fixture.h"
#include "data/conpath.h"
#include "data/db.h"
#include "data/schema.h"
#include "data/state.h"
#include "shell/A_main.h"
#include "shell/screens.h"
#include "ui/ListWindow.h"
#include "ui/twips.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
QStringList g_unloaded;   // names of stub screens in the order they closed
int g_loads = 0;          // stub screens created
QStringList g_refusing;   // stub screens whose close handler refuses

class StubList : public ListWindow {
public:
    explicit StubList(const char* name) : ListWindow(QLatin1String(name), QLatin1String(name), Frame{}) { ++g_loads; }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (g_refusing.contains(objectName())) { e->ignore(); return; }
        g_unloaded << objectName();
        ListWindow::closeEvent(e);
    }
};

class StubDialog : public QDialog {
public:
    explicit StubDialog(const char* name) : QDialog(screens::main_window()) { setObjectName(QLatin1String(name)); }
};

#define STUB(n) screens::register_factory(QStringLiteral(n), []() -> QWidget* { return new StubList(n); })

// Real screens are built elsewhere; the shell is tested against stand-ins.
void register_stubs()
{
    STUB("A2"); STUB("A3"); STUB("A6"); STUB("A7"); STUB("B1"); STUB("B2"); STUB("B4");
    STUB("CA"); STUB("E1"); STUB("E2"); STUB("E3"); STUB("F1"); STUB("F2");
    screens::register_factory(QStringLiteral("A1"), []() -> QWidget* { return new StubDialog("A1"); });
    screens::register_factory(QStringLiteral("A4"), []() -> QWidget* { return new StubDialog("A4"); });
}

// Name of the list screens open in the MDI area.
QStringList open_screens(A_main& w)
{
    QStringList out;
    for (QMdiSubWindow* s : w.mdi->subWindowList())
        if (s->widget()) out << s->widget()->objectName();
    return out;
}

bool log_in(A_main& w, const QString& name, const QString& pass)
{
    w.t_nam->setText(name);
    w.t_pas->setText(pass);
    w.cmd_ok->click();
    return w.logged_in();
}

struct Cmd { const char* action; const char* screen; };
const Cmd screen_cmds[] = {{"전체회원정보관리", "B1"}, {"품목분류정보관리", "B2"}, {"전체품목정보관리", "B4"},
                           {"대여반납내역관리1", "CA"}, {"정회원별거래집계", "E1"}, {"비회원별거래집계", "E2"},
                           {"터미널통신업로드", "F1"}, {"텍스트파일업로드", "F2"}};
const Cmd admin_cmds[] = {{"로그인사용자관리", "A2"}, {"업무내역마감처리", "A3"}, {"전체회원엑셀로드", "A6"},
                          {"전체품목엑셀로드", "A7"}};
}

class TestMain : public QObject {
    Q_OBJECT
private slots:
    void init() { g_unloaded.clear(); g_loads = 0; g_refusing.clear(); }

    void start_up_quietly();
    void start_up_without_connection();
    void enter_walks_the_panel();
    void log_in_cleans_the_name();
    void log_in_messages_in_order();
    void failed_log_in_after_log_out_keeps_user();
    void menu_bar_layout();
    void start_panel_state_commands();
    void commands_as_admin();
    void commands_as_other_account();
    void f4_twice_reopens_history();
    void close_all_order_and_refusal();
    void log_out_and_end();
    void real_function_keys();
    void popup_rights();
};

void TestMain::start_up_quietly()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    register_stubs();
    w.show();
    QTest::qWait(20);
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(w.windowTitle(), QStringLiteral("Torvisk(KX)"));
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    QCOMPARE(w.la_inf->text(), QStringLiteral("사용계정정보를 입력하세요!"));
    QVERIFY(w.pic_man->isVisible());
    QVERIFY(!w.logged_in());
    QCOMPARE(w.t_pas->echoMode(), QLineEdit::Password);
    // The start picture leaves the menu bar usable.
    QVERIFY(w.pic_man->geometry().top() >= w.menuBar()->geometry().bottom());
    QCOMPARE(col_w[11], 4000);

    // The quit button unloads the window, which ends the program.
    QSignalSpy ended(&w, &A_main::unloaded);
    w.cmd_no->click();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!db_con || !db_con->is_open());
}

void TestMain::start_up_without_connection()
{
    TestShop shop;
    close_db();
    QVERIFY(QFile::remove(shop.dir() + "/CONPATH.txt"));
    MsgResponder r;
    A_main w;
    QTest::qWait(20);
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(w.la_inf->text(), QStringLiteral("데이터베이스 연결이 올바르지 않습니다!"));
    QVERIFY(w.t_nam->isEnabled() && w.cmd_ok->isEnabled());
    // Each attempt tries again; still no connection.
    QVERIFY(!log_in(w, "ADMIN", delivered_admin_password()));
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("(서버)데이터베이스연결실패!")});
    QVERIFY(!QFile::exists(shop.dir() + "/CONPATH.txt"));
}

void TestMain::enter_walks_the_panel()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.t_nam->setFocus();
    w.t_nam->setText("ADMIN");
    w.t_pas->setText(delivered_admin_password());
    QTest::keyClick(w.t_nam, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.t_pas);
    QTest::keyClick(w.t_pas, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.cmd_ok);
    // Enter in the password box only moves on.
    QVERIFY(!w.logged_in());
    QTest::keyClick(w.cmd_ok, Qt::Key_Return);
    QVERIFY(w.logged_in());
    QVERIFY(r.texts.isEmpty());
}

void TestMain::log_in_cleans_the_name()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    QVERIFY(log_in(w, "admin", delivered_admin_password()));
    QCOMPARE(w.t_nam->text(), QStringLiteral("ADMIN"));
    QCOMPARE(cur_user, QStringLiteral("ADMIN"));
    QCOMPARE(user_rights, QStringLiteral("11111"));
    QVERIFY(w.pic_man->isHidden());

    w.menu_action("처음화면으로이동")->trigger();
    QVERIFY(log_in(w, "'admin", delivered_admin_password() + "'"));
    QCOMPARE(w.t_nam->text(), QStringLiteral("ADMIN"));
    QCOMPARE(cur_user, QStringLiteral("ADMIN"));
    QVERIFY(r.texts.isEmpty());
}

void TestMain::log_in_messages_in_order()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    // No settings row: reported before the wrong password is looked at.
    shop.exec("delete from TB0");
    QVERIFY(!log_in(w, " kim% ", "wrong"));
    QTRY_COMPARE(r.last(), QStringLiteral("프로그램을 실행할 수 없습니다!"));
    QCOMPARE(r.icons.last(), QMessageBox::Information);
    QCOMPARE(r.titles.last(), QStringLiteral("Torvisk(KX)"));
    // The blank stands at the end, so the percent sign stays.
    QCOMPARE(w.t_nam->text(), QStringLiteral("KIM%"));
    QCOMPARE(w.t_pas->text(), QStringLiteral("wrong"));

    // A settings field out of its range refuses the same way.
    shop.exec("insert into TB0 values (6, 8, 'a', 'b', 'c', 'd', 'e', 'f', 40000, 5, 30000)");
    r.clear();
    QVERIFY(!log_in(w, "ADMIN", delivered_admin_password()));
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("프로그램을 실행할 수 없습니다!")});

    shop.exec("update TB0 set max_dat = 7");
    r.clear();
    QVERIFY(!log_in(w, "ADMIN", delivered_admin_password().toLower() + "x"));
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("사용자계정을 확인할 수 없습니다!")});
    QVERIFY(w.t_nam->text().isEmpty() && w.t_pas->text().isEmpty());
    QCOMPARE(max_dat, qint16(7));   // read before the account check
    QVERIFY(!w.logged_in());
}

void TestMain::failed_log_in_after_log_out_keeps_user()
{
    TestShop shop;
    shop.add_user("CLERK", "Pw", "10000");
    MsgResponder r;
    A_main w;
    QVERIFY(log_in(w, "clerk", "Pw"));
    QCOMPARE(user_rights, QStringLiteral("10000"));
    w.menu_action("처음화면으로이동")->trigger();
    QVERIFY(!w.logged_in());
    shop.exec("update TB0 set max_cnt = 9");
    // Passwords compare with their case.
    QVERIFY(!log_in(w, "CLERK", "pw"));
    QTRY_COMPARE(r.texts.size(), 1);
    QCOMPARE(cur_user, QStringLiteral("CLERK"));
    QCOMPARE(user_rights, QStringLiteral("10000"));
    QCOMPARE(max_cnt, qint16(9));
    QVERIFY(!w.logged_in());
    // Still on the start panel: a screen command does nothing.
    register_stubs();
    w.menu_action("전체회원정보관리")->trigger();
    QVERIFY(open_screens(w).isEmpty());
}

void TestMain::menu_bar_layout()
{
    TestShop shop;
    A_main w;
    const QStringList tops = {"프로그램환경설정", "관리메뉴", "기본정보자료관리", "대여반납내역관리",
                              "기간회원거래현황", "터미널데이터수신", "프로그램로그아웃"};
    const QStringList captions = {"프로그램환경설정", "관리메뉴(ADMIN)", "기본정보자료관리(F1~F3)",
                                  "대여반납내역관리(F4)", "기간회원거래현황(F5~F6)", "터미널데이터수신(F7~F8)",
                                  "프로그램로그아웃(F11)"};
    const QList<QAction*> bar = w.menuBar()->actions();
    QCOMPARE(bar.size(), 8);
    for (int i = 0; i < tops.size(); ++i) {
        QCOMPARE(bar[i]->menu()->objectName(), tops[i]);
        QCOMPARE(bar[i]->text(), captions[i]);
        QVERIFY(bar[i]->isVisible());
    }
    QCOMPARE(bar[7]->menu()->objectName(), QStringLiteral("POP"));
    QVERIFY(!bar[7]->isVisible());

    const QList<QPair<const char*, QKeySequence>> keys = {
        {"전체회원정보관리", Qt::Key_F1}, {"품목분류정보관리", Qt::Key_F2}, {"전체품목정보관리", Qt::Key_F3},
        {"대여반납내역관리1", Qt::Key_F4}, {"정회원별거래집계", Qt::Key_F5}, {"비회원별거래집계", Qt::Key_F6},
        {"터미널통신업로드", Qt::Key_F7}, {"텍스트파일업로드", Qt::Key_F8}, {"처음화면으로이동", Qt::Key_F11},
        {"프로그램종료하기", QKeySequence(Qt::SHIFT | Qt::Key_Delete)}, {"네트워크공유설정", QKeySequence()}};
    for (const auto& k : keys) {
        QAction* a = w.menu_action(QString::fromUtf8(k.first));
        QVERIFY2(a, k.first);
        QCOMPARE(a->shortcut(), k.second);
    }
    QCOMPARE(w.menu_action("대여반납내역관리1")->text(), QStringLiteral("▒▒ 대여반납내역관리"));
    QCOMPARE(w.menu_action("네트워크공유설정")->text(), QStringLiteral("▒▒ 네트워크공유설정"));
    QVERIFY(!w.menu_action("자사정보기초설정")->isVisible());
    QVERIFY(!w.menu_action("주거래처엑셀로드")->isVisible());
    QCOMPARE(w.findChild<QMenu*>("관리메뉴")->actions().size(), 5);

    for (int p = 1; p <= 6; ++p) {
        QMenu* m = w.popup_menu(QStringLiteral("POP%1").arg(p));
        QVERIFY(m);
        QCOMPARE(m->actions().size(), 2);
        QCOMPARE(m->actions()[0]->objectName(), QStringLiteral("POP%1_1").arg(p));
        QCOMPARE(m->actions()[0]->text(), QStringLiteral("엑셀)검색된자료엑셀파일변환"));
        QCOMPARE(m->actions()[1]->objectName(), QStringLiteral("POP%1_2").arg(p));
        QCOMPARE(m->actions()[1]->text(), QStringLiteral("인쇄)검색된자료프린트로인쇄"));
    }
    // The background of the menu bar.
    QVERIFY(w.menuBar()->styleSheet().contains("250, 250, 250"));
}

void TestMain::start_panel_state_commands()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    register_stubs();
    w.show();
    QSignalSpy ended(&w, &A_main::unloaded);
    for (const Cmd& c : screen_cmds) w.menu_action(c.action)->trigger();
    for (const Cmd& c : admin_cmds) w.menu_action(c.action)->trigger();
    w.menu_action("처음화면으로이동")->trigger();
    w.menu_action("프로그램종료하기")->trigger();
    QTest::qWait(20);
    QVERIFY(open_screens(w).isEmpty());
    QCOMPARE(g_loads, 0);
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(ended.count(), 0);
    QVERIFY(w.isVisible());

    // The two start-panel dialogs open modally, near the top left.
    for (const char* d : {"A1", "A4"}) {
        QPoint at;
        bool modal = false;
        when_dialog_shows(QLatin1String(d), [&](QWidget* dlg) {
            at = dlg->pos();
            modal = dlg->isModal();
            static_cast<QDialog*>(dlg)->reject();
        });
        w.menu_action(d == QByteArray("A1") ? "네트워크공유설정" : "바코드및환경설정")->trigger();
        QVERIFY(modal);
        QCOMPARE(at, QPoint(twips_to_px(100), twips_to_px(800)));
    }
    QVERIFY(r.texts.isEmpty());
}

void TestMain::commands_as_admin()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    register_stubs();
    w.show();
    QVERIFY(log_in(w, "ADMIN", delivered_admin_password()));
    QString previous;
    for (const Cmd& c : admin_cmds) {
        w.menu_action(c.action)->trigger();
        QCOMPARE(open_screens(w), QStringList{c.screen});
        QVERIFY(w.mdi->subWindowList().constFirst()->isMaximized());
        if (!previous.isEmpty()) QCOMPARE(g_unloaded.last(), previous);
        previous = c.screen;
    }
    for (const Cmd& c : screen_cmds) {
        w.menu_action(c.action)->trigger();
        QCOMPARE(open_screens(w), QStringList{c.screen});
        QCOMPARE(g_unloaded.last(), previous);
        previous = c.screen;
    }
    QVERIFY(r.texts.isEmpty());
    // After log-in the start-panel dialogs explain themselves instead.
    w.menu_action("네트워크공유설정")->trigger();
    w.menu_action("바코드및환경설정")->trigger();
    QTRY_COMPARE(r.texts.size(), 2);
    QCOMPARE(r.texts[0], QStringLiteral("이메뉴는 프로그램처음화면에서만 동작합니다!"));
    QCOMPARE(r.texts[1], QStringLiteral("이메뉴는 프로그램처음화면에서만 동작합니다!"));
    QCOMPARE(open_screens(w), QStringList{"F2"});
}

void TestMain::commands_as_other_account()
{
    TestShop shop;
    shop.add_user("CLERK", "pw", "11111");
    MsgResponder r;
    A_main w;
    register_stubs();
    QVERIFY(log_in(w, "clerk", "pw"));
    w.menu_action("전체회원정보관리")->trigger();
    for (const Cmd& c : admin_cmds) w.menu_action(c.action)->trigger();
    // Silently nothing, and the open screen stays.
    QCOMPARE(open_screens(w), QStringList{"B1"});
    QVERIFY(g_unloaded.isEmpty());
    // The account must be "ADMIN" exactly.
    cur_user = QStringLiteral("Admin");
    for (const Cmd& c : admin_cmds) w.menu_action(c.action)->trigger();
    QCOMPARE(open_screens(w), QStringList{"B1"});
    for (const Cmd& c : screen_cmds) {
        w.menu_action(c.action)->trigger();
        QCOMPARE(open_screens(w), QStringList{c.screen});
    }
    QTest::qWait(20);
    QVERIFY(r.texts.isEmpty());
}

void TestMain::f4_twice_reopens_history()
{
    TestShop shop;
    A_main w;
    register_stubs();
    QVERIFY(log_in(w, "ADMIN", delivered_admin_password()));
    w.menu_action("대여반납내역관리1")->trigger();
    QPointer<QWidget> first = screens::find("CA");
    QVERIFY(first);
    w.menu_action("대여반납내역관리1")->trigger();
    QVERIFY(!first);   // unloaded at once, not left behind
    QCOMPARE(g_loads, 2);
    QCOMPARE(g_unloaded, QStringList{"CA"});
    QWidget* second = screens::find("CA");
    QVERIFY(second);
    QCOMPARE(open_screens(w), QStringList{"CA"});
    QTest::qWait(10);
    QCOMPARE(w.mdi->subWindowList().size(), 1);
    // A name without a screen yet: the open one is closed, nothing else.
    screens::register_factory("B2", nullptr);
    w.menu_action("품목분류정보관리")->trigger();
    QVERIFY(open_screens(w).isEmpty());
}

void TestMain::close_all_order_and_refusal()
{
    TestShop shop;
    A_main w;
    register_stubs();
    const QStringList order = {"A2", "A3", "A6", "A7", "B1", "B2", "B4", "CA", "E1", "E2", "E3", "F1", "F2"};
    // Loaded in the reverse order, unloaded in the fixed one.
    for (int i = order.size() - 1; i >= 0; --i) screens::show_list(screens::create(order[i]));
    g_refusing = {"B4"};
    screens::close_all();
    QStringList expected = order;
    expected.removeAll("B4");
    QCOMPARE(g_unloaded, expected);
    QCOMPARE(open_screens(w), QStringList{"B4"});
    g_refusing.clear();
    screens::close_all();
    QVERIFY(open_screens(w).isEmpty());
    // Nothing loaded: nothing happens.
    screens::close_all();
}

void TestMain::log_out_and_end()
{
    TestShop shop;
    MsgResponder r;
    A_main w;
    register_stubs();
    w.show();
    QVERIFY(log_in(w, "ADMIN", delivered_admin_password()));
    const qint16 cnt = max_cnt;
    w.menu_action("전체회원정보관리")->trigger();
    w.menu_action("처음화면으로이동")->trigger();
    QVERIFY(open_screens(w).isEmpty());
    QCOMPARE(g_unloaded, QStringList{"B1"});
    QVERIFY(w.pic_man->isVisible());
    QVERIFY(w.t_nam->text().isEmpty() && w.t_pas->text().isEmpty());
    QCOMPARE(cur_user, QStringLiteral("ADMIN"));
    QCOMPARE(user_rights, QStringLiteral("11111"));
    QCOMPARE(max_cnt, cnt);

    QVERIFY(log_in(w, "ADMIN", delivered_admin_password()));
    w.menu_action("대여반납내역관리1")->trigger();
    QSignalSpy ended(&w, &A_main::unloaded);
    w.menu_action("프로그램종료하기")->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(g_unloaded.last(), QStringLiteral("CA"));
    QVERIFY(!db_con || !db_con->is_open());
    QVERIFY(r.texts.isEmpty());
}

void TestMain::real_function_keys()
{
    TestShop shop;
    A_main w;
    register_stubs();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F4);
    QVERIFY(open_screens(w).isEmpty());
    QVERIFY(log_in(w, "ADMIN", delivered_admin_password()));
    QTest::keyClick(&w, Qt::Key_F4);
    QCOMPARE(open_screens(w), QStringList{"CA"});
    QTest::keyClick(&w, Qt::Key_F2);
    QCOMPARE(open_screens(w), QStringList{"B2"});
    QTest::keyClick(&w, Qt::Key_F11);
    QVERIFY(!w.logged_in());
    QVERIFY(open_screens(w).isEmpty());
}

void TestMain::popup_rights()
{
    TestShop shop;
    shop.add_user("EXP", "pw", "10000");
    shop.add_user("NONE", "pw", "00000");
    MsgResponder r;
    A_main w;
    register_stubs();
    w.show();
    QVERIFY(log_in(w, "EXP", "pw"));
    w.menu_action("품목분류정보관리")->trigger();

    // The screens ask for their popup through the registry.
    screens::popup("POP2", w.mapToGlobal(QPoint(50, 50)));
    QMenu* pop2 = w.popup_menu("POP2");
    QTRY_VERIFY(pop2->isVisible());
    pop2->close();

    for (int p = 1; p <= 6; ++p) {
        w.findChild<QAction*>(QStringLiteral("POP%1_1").arg(p))->trigger();
        w.findChild<QAction*>(QStringLiteral("POP%1_2").arg(p))->trigger();
    }
    QTest::qWait(30);
    // Export granted everywhere (only the open B2 answers it: its list is
    // empty); printing refused on the five that print.
    const QString refused = QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!");
    QCOMPARE(r.texts, (QStringList{refused, QStringLiteral("엑셀로 변환할 내용이 없습니다!"), refused, refused,
                                   refused, refused}));
    QCOMPARE(r.icons.first(), QMessageBox::Information);

    w.menu_action("처음화면으로이동")->trigger();
    QVERIFY(log_in(w, "NONE", "pw"));
    r.clear();
    w.findChild<QAction*>("POP2_2")->trigger();   // prints nothing, asks nothing
    w.findChild<QAction*>("POP4_1")->trigger();
    QTRY_COMPARE(r.texts, QStringList{QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!")});
}

QTEST_MAIN(TestMain)
#include "tst_main.moc"
