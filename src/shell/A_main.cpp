#include "shell/A_main.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "output/grid_sheet.h"
#include "output/print.h"
#include "shell/screens.h"
#include "ui/controls.h"
#include "ui/look.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <initializer_list>

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>

A_main::A_main(QWidget* parent) : QMainWindow(parent)
{
    // Font, style, Korean dialogs and icon, before the first control is made.
    install_look();
    setObjectName(QStringLiteral("A_main"));
    setWindowTitle(QStringLiteral("Torvisk System (KX)"));
    mdi = named<QMdiArea>("mdi", this);
    setCentralWidget(mdi);
    screens::set_main(this, mdi);
    screens::register_all_screens();
    build_login_panel();
    build_menus();
    MDIForm_Load();
}

A_main::~A_main()
{
    if (screens::main_window() == this) {
        screens::set_popup_handler(nullptr);
        screens::set_main(nullptr, nullptr);
    }
}

void A_main::build_login_panel()
{
    pic_man = named<QFrame>("pic_man", this);
    pic_man->setAutoFillBackground(true);
    pic_man->setStyleSheet(QStringLiteral("#pic_man { background: #2f4f6f; }"));

    pic_con = named<QFrame>("pic_con", pic_man);
    pic_con->setFrameShape(QFrame::Box);
    pic_con->setStyleSheet(QStringLiteral("#pic_con { background: #f4f4f4; }"));
    tw_place(pic_con, 0, 0, 6000, 3000);

    auto* title = named<QLabel>("la_title", msg_title.isEmpty() ? QStringLiteral("Torvisk(KX)") : msg_title, pic_con);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    tw_place(title, 300, 150, 5400, 500);

    auto* l1 = new QLabel(QStringLiteral("아 이 디"), pic_con);
    tw_place(l1, 400, 900, 1200, 330);
    t_nam = named<QLineEdit>("t_nam", pic_con);
    tw_place(t_nam, 1700, 880, 2400, 360);
    auto* l2 = new QLabel(QStringLiteral("비밀번호"), pic_con);
    tw_place(l2, 400, 1380, 1200, 330);
    t_pas = named<QLineEdit>("t_pas", pic_con);
    t_pas->setEchoMode(QLineEdit::Password);
    tw_place(t_pas, 1700, 1360, 2400, 360);

    cmd_ok = plain_button(pic_con, "cmd_ok", QStringLiteral("로그인"), 4300, 880, 1300, 840);
    cmd_no = plain_button(pic_con, "cmd_no", QStringLiteral("종료"), 4300, 1800, 1300, 420);

    auto* l3 = new QLabel(QStringLiteral("[연결정보]"), pic_con);
    tw_place(l3, 400, 2450, 1200, 330);
    la_inf = named<QLabel>("la_inf", QStringLiteral("데이터베이스 연결이 올바르지 않습니다!"), pic_con);
    tw_place(la_inf, 1600, 2450, 4200, 330);

    setTabOrder(t_nam, t_pas);
    setTabOrder(t_pas, cmd_ok);
    setTabOrder(cmd_ok, cmd_no);
    t_nam->installEventFilter(this);
    t_pas->installEventFilter(this);
    cmd_ok->installEventFilter(this);
    connect(cmd_ok, &QPushButton::clicked, this, &A_main::cmd_ok_click);
    connect(cmd_no, &QPushButton::clicked, this, &A_main::cmd_no_click);
}

namespace {
enum class Kind { StartPanel, Admin, Screen, LogOut, End, Hidden };

struct MenuItem {
    const char* name;      // control name
    const char* screen;    // form it opens
    Kind kind;
    int key;               // shortcut, 0 for none
    const char* caption = nullptr;   // when it differs from the name
};

struct TopMenu {
    const char* name;
    const char* caption;
    std::initializer_list<MenuItem> items;
};

const TopMenu& top_menu(int i)
{
    static const TopMenu menus[] = {
        {"프로그램환경설정", "프로그램환경설정",
         {{"네트워크공유설정", "A1", Kind::StartPanel, 0},
          {"바코드및환경설정", "A4", Kind::StartPanel, 0},
          {"자사정보기초설정", "", Kind::Hidden, 0}}},
        {"관리메뉴", "관리메뉴(ADMIN)",
         {{"로그인사용자관리", "A2", Kind::Admin, 0},
          {"업무내역마감처리", "A3", Kind::Admin, 0},
          {"주거래처엑셀로드", "", Kind::Hidden, 0},
          {"전체회원엑셀로드", "A6", Kind::Admin, 0},
          {"전체품목엑셀로드", "A7", Kind::Admin, 0}}},
        {"기본정보자료관리", "기본정보자료관리(F1~F3)",
         {{"전체회원정보관리", "B1", Kind::Screen, Qt::Key_F1},
          {"품목분류정보관리", "B2", Kind::Screen, Qt::Key_F2},
          {"전체품목정보관리", "B4", Kind::Screen, Qt::Key_F3}}},
        {"대여반납내역관리", "대여반납내역관리(F4)",
         {{"대여반납내역관리1", "CA", Kind::Screen, Qt::Key_F4, "대여반납내역관리"}}},
        {"기간회원거래현황", "기간회원거래현황(F5~F6)",
         {{"정회원별거래집계", "E1", Kind::Screen, Qt::Key_F5},
          {"비회원별거래집계", "E2", Kind::Screen, Qt::Key_F6}}},
        {"터미널데이터수신", "터미널데이터수신(F7~F8)",
         {{"터미널통신업로드", "F1", Kind::Screen, Qt::Key_F7},
          {"텍스트파일업로드", "F2", Kind::Screen, Qt::Key_F8}}},
        {"프로그램로그아웃", "프로그램로그아웃(F11)",
         {{"처음화면으로이동", "", Kind::LogOut, Qt::Key_F11},
          {"프로그램종료하기", "", Kind::End, (Qt::SHIFT | Qt::Key_Delete).toCombined()}}},
    };
    return menus[i];
}
constexpr int top_menu_count = 7;

// The list screen each popup menu belongs to (POP1 .. POP6).
const char* const popup_screen[] = {"B1", "B2", "B4", "CA", "E1", "E2"};

void popup_handler(const QString& name, const QPoint& global_pos)
{
    if (auto* m = qobject_cast<A_main*>(screens::main_window())) m->show_popup(name, global_pos);
}
} // namespace

void A_main::build_menus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu_bar"));
    for (int i = 0; i < top_menu_count; ++i) {
        const TopMenu& t = top_menu(i);
        QMenu* m = bar->addMenu(QString::fromUtf8(t.caption));
        m->setObjectName(QString::fromUtf8(t.name));
        for (const MenuItem& it : t.items) {
            const QString name = QString::fromUtf8(it.name);
            QAction* a = m->addAction(QStringLiteral("▒▒ ") + (it.caption ? QString::fromUtf8(it.caption) : name));
            a->setObjectName(name);
            if (it.key) a->setShortcut(QKeySequence(it.key));
            const QString screen = QString::fromLatin1(it.screen);
            switch (it.kind) {
            case Kind::StartPanel:
                connect(a, &QAction::triggered, this, [this, screen] { start_panel_dialog(screen); });
                break;
            case Kind::Admin:
                connect(a, &QAction::triggered, this, [this, screen] { admin_command(screen); });
                break;
            case Kind::Screen:
                connect(a, &QAction::triggered, this, [this, screen] { screen_command(screen); });
                break;
            case Kind::LogOut: connect(a, &QAction::triggered, this, &A_main::log_out); break;
            case Kind::End: connect(a, &QAction::triggered, this, &A_main::end_program); break;
            case Kind::Hidden: a->setVisible(false); break;
            }
        }
    }

    // The hidden top menu holding the grids' popup menus.
    QMenu* pop = bar->addMenu(QStringLiteral("pop"));
    pop->setObjectName(QStringLiteral("POP"));
    pop->menuAction()->setVisible(false);
    for (int p = 1; p <= 6; ++p) {
        const QString name = QStringLiteral("POP%1").arg(p);
        QMenu* m = pop->addMenu(name);
        m->setObjectName(name);
        QAction* a1 = m->addAction(QStringLiteral("엑셀)검색된자료엑셀파일변환"));
        a1->setObjectName(name + QStringLiteral("_1"));
        QAction* a2 = m->addAction(QStringLiteral("인쇄)검색된자료프린트로인쇄"));
        a2->setObjectName(name + QStringLiteral("_2"));
        connect(a1, &QAction::triggered, this, [this, p] { popup_command(p, 1); });
        // The category list has nothing to print.
        if (p != 2) connect(a2, &QAction::triggered, this, [this, p] { popup_command(p, 2); });
    }
    screens::set_popup_handler(&popup_handler);
}

QAction* A_main::menu_action(const QString& name) const
{
    return menuBar()->findChild<QAction*>(name);
}

QMenu* A_main::popup_menu(const QString& name) const
{
    QMenu* m = menuBar()->findChild<QMenu*>(name);
    return m && name.startsWith(QLatin1String("POP")) ? m : nullptr;
}

bool A_main::logged_in() const { return pic_man && pic_man->isHidden(); }

void A_main::form_static()
{
    // A light background for the menu bar itself.
    menuBar()->setStyleSheet(QStringLiteral("QMenuBar { background-color: rgb(250, 250, 250); }"));
}

void A_main::MDIForm_Load()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    db_mode = QStringLiteral("M");
    msg_title = QStringLiteral("Torvisk(KX)");
    setWindowTitle(msg_title);
    form_static();
    la_inf->setText(open_db() ? QStringLiteral("사용계정정보를 입력하세요!")
                              : QStringLiteral("데이터베이스 연결이 올바르지 않습니다!"));
    fill_col_w();
    t_nam->setFocus();
}

void A_main::MDIForm_Resize()
{
    if (!pic_man) return;
    // The start picture covers the whole client area (below the menu bar);
    // the log-in panel is centred across it, a sixth of the window down.
    pic_man->setGeometry(mdi->geometry());
    const TwRect con = tw_rect(pic_con);
    tw_place(pic_con, px_to_twips(pic_man->width()) / 2 - con.width / 2, px_to_twips(height()) / 6, con.width,
             con.height);
    pic_man->raise();
}

void A_main::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    MDIForm_Resize();
}

bool A_main::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (enter && o == t_nam) { t_pas->setFocus(); return true; }
        if (enter && o == t_pas) { cmd_ok->setFocus(); return true; }
        if (enter && o == cmd_ok) { cmd_ok->click(); return true; }
    }
    return QMainWindow::eventFilter(o, e);
}

void A_main::cmd_ok_click()
{
    t_nam->setText(clean_input(t_nam->text().toUpper()));
    t_pas->setText(clean_input(t_pas->text()));
    switch (login(t_nam->text(), t_pas->text())) {
    case LoginResult::NoConnection:
        msg_info(this, k_db_fail);
        return;
    case LoginResult::NoSettings:
        msg_info(this, QStringLiteral("프로그램을 실행할 수 없습니다!"));
        return;
    case LoginResult::NoAccount:
        msg_info(this, QStringLiteral("사용자계정을 확인할 수 없습니다!"));
        t_nam->clear();
        t_pas->clear();
        t_nam->setFocus();
        return;
    case LoginResult::Ok:
        break;
    }
    pic_man->hide();
    form_static();
}

void A_main::cmd_no_click() { close(); }

void A_main::closeEvent(QCloseEvent* e)
{
    // MDIForm_Unload: the open screens go first, then the recordset and the
    // connection; the program ends.
    e->accept();
    if (unloading_) return;
    unloading_ = true;
    screens::close_all();
    close_rs();
    close_db();
    unloading_ = false;
    emit unloaded();
}

// ---------------------------------------------------------------- menus

void A_main::start_panel_dialog(const QString& name)
{
    if (logged_in()) {
        msg_info(this, QStringLiteral("이메뉴는 프로그램처음화면에서만 동작합니다!"));
        return;
    }
    QPointer<QWidget> w = screens::create(name);
    auto* d = qobject_cast<QDialog*>(w.data());
    if (!d) {
        delete w;
        return;
    }
    // Placed near the top left of the screen, not centred.
    d->move(twips_to_px(100), twips_to_px(800));
    d->exec();
    // The dialog keeps nothing between openings.
    if (w && !w->testAttribute(Qt::WA_DeleteOnClose)) w->deleteLater();
}

void A_main::admin_command(const QString& name)
{
    // Only the account "ADMIN" itself (case as stored); nobody else is told.
    if (!logged_in() || cur_user != QLatin1String("ADMIN")) return;
    open_screen(name);
}

void A_main::screen_command(const QString& name)
{
    if (!logged_in()) return;
    open_screen(name);
}

void A_main::open_item_summary()
{
    if (!logged_in()) return;
    open_screen(QStringLiteral("E3"));
}

void A_main::open_screen(const QString& name)
{
    // One list screen at a time: the open one (the same one too) goes first.
    screens::close_all();
    QWidget* w = screens::create(name);
    if (!w) return;
    if (auto* d = qobject_cast<QDialog*>(w)) {
        d->exec();
        if (!d->testAttribute(Qt::WA_DeleteOnClose)) d->deleteLater();
        return;
    }
    screens::show_list(w);
}

void A_main::log_out()
{
    if (!logged_in()) return;
    screens::close_all();
    pic_man->show();
    pic_man->raise();
    t_nam->clear();
    t_pas->clear();
    t_nam->setFocus();
}

void A_main::end_program()
{
    if (!logged_in()) return;
    close();
}

void A_main::show_popup(const QString& name, const QPoint& global_pos)
{
    if (QMenu* m = popup_menu(name)) m->popup(global_pos);
}

void A_main::popup_command(int pop, int item)
{
    if (pop < 1 || pop > 6 || item < 1 || item > 2) return;
    if (!check_right(this, item == 1 ? QStringLiteral("xls") : QStringLiteral("prt"))) return;
    list_output(QLatin1String(popup_screen[pop - 1]), item);
}

void A_main::list_output(const QString& code, int item)
{
    // The one place where a list screen's grid leaves the program: item 1
    // hands the screen and its code to the spreadsheet export, item 2 to the
    // screen's print routine. The category list (B2) prints nothing.
    QWidget* screen = screens::find(code);
    if (!screen) return;
    if (item == 1) {
        export_to_excel(screen, code);
        return;
    }
    if (code == QLatin1String("B1")) print_members();
    else if (code == QLatin1String("B4")) print_items();
    else if (code == QLatin1String("CA")) print_history();
    else if (code == QLatin1String("E1")) print_member_totals();
    else if (code == QLatin1String("E2")) print_nonmember_totals();
}
