#include "shell/A_main.h"
#include "shell/screens.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
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
    setObjectName(QStringLiteral("A_main"));
    setWindowTitle(QStringLiteral("Torvisk System (KX)"));
    mdi = new QMdiArea(this);
    mdi->setObjectName(QStringLiteral("mdi"));
    setCentralWidget(mdi);
    screens::set_main(this, mdi);
    screens::register_all_screens();
    build_login_panel();
    build_menus();
    MDIForm_Load();
}

A_main::~A_main()
{
    screens::set_main(nullptr, nullptr);
}

void A_main::build_login_panel()
{
    pic_man = new QFrame(this);
    pic_man->setObjectName(QStringLiteral("pic_man"));
    pic_man->setAutoFillBackground(true);
    pic_man->setStyleSheet(QStringLiteral("#pic_man { background: #2f4f6f; }"));

    pic_con = new QFrame(pic_man);
    pic_con->setObjectName(QStringLiteral("pic_con"));
    pic_con->setFrameShape(QFrame::Box);
    pic_con->setStyleSheet(QStringLiteral("#pic_con { background: #f4f4f4; }"));
    tw_place(pic_con, 0, 0, 6000, 3000);

    auto* title = new QLabel(msg_title.isEmpty() ? QStringLiteral("Torvisk(KX)") : msg_title, pic_con);
    title->setObjectName(QStringLiteral("la_title"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    tw_place(title, 300, 150, 5400, 500);

    auto* l1 = new QLabel(QStringLiteral("아 이 디"), pic_con);
    tw_place(l1, 400, 900, 1200, 330);
    t_nam = new QLineEdit(pic_con);
    t_nam->setObjectName(QStringLiteral("t_nam"));
    tw_place(t_nam, 1700, 880, 2400, 360);
    auto* l2 = new QLabel(QStringLiteral("비밀번호"), pic_con);
    tw_place(l2, 400, 1380, 1200, 330);
    t_pas = new QLineEdit(pic_con);
    t_pas->setObjectName(QStringLiteral("t_pas"));
    t_pas->setEchoMode(QLineEdit::Password);
    tw_place(t_pas, 1700, 1360, 2400, 360);

    cmd_ok = new QPushButton(QStringLiteral("로그인"), pic_con);
    cmd_ok->setObjectName(QStringLiteral("cmd_ok"));
    tw_place(cmd_ok, 4300, 880, 1300, 840);
    cmd_no = new QPushButton(QStringLiteral("종료"), pic_con);
    cmd_no->setObjectName(QStringLiteral("cmd_no"));
    tw_place(cmd_no, 4300, 1800, 1300, 420);
    for (QPushButton* b : {cmd_ok, cmd_no}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto* l3 = new QLabel(QStringLiteral("[연결정보]"), pic_con);
    tw_place(l3, 400, 2450, 1200, 330);
    la_inf = new QLabel(QStringLiteral("데이터베이스 연결이 올바르지 않습니다!"), pic_con);
    la_inf->setObjectName(QStringLiteral("la_inf"));
    tw_place(la_inf, 1600, 2450, 4200, 330);

    t_nam->installEventFilter(this);
    t_pas->installEventFilter(this);
    cmd_ok->installEventFilter(this);
    connect(cmd_ok, &QPushButton::clicked, this, &A_main::cmd_ok_click);
    connect(cmd_no, &QPushButton::clicked, this, &A_main::cmd_no_click);
}

void A_main::build_menus() {}

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
}

void A_main::MDIForm_Resize()
{
    if (!pic_man) return;
    pic_man->setGeometry(0, 0, width(), height());
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
        msg_info(this, QStringLiteral("(서버)데이터베이스연결실패!"));
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
    // MDIForm_Unload: the recordset and the connection go, then the program ends.
    close_rs();
    close_db();
    e->accept();
    QApplication::quit();
}
