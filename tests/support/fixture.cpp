#include "support/fixture.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/state.h"
#include "data/text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <functional>

namespace {
int g_expected = 0;
int g_unexpected = 0;
}

void TestShop::expect_sql_error(int n) { g_expected += n; }
int TestShop::unexpected_sql_errors() { return g_unexpected; }

TestShop::TestShop()
{
    set_sql_error_handler([](const QString& sql, const QString& message) {
        if (g_expected > 0) { --g_expected; return; }
        ++g_unexpected;
        QTest::qFail(qPrintable(QStringLiteral("unexpected SQL error: %1 in %2").arg(message, sql)), __FILE__, __LINE__);
    });
    QString error;
    ok_ = dir_.isValid() && write_program_folder(dir_.path(), &error);
    set_program_dir(dir_.path());
    set_today(QDate());
    db_mode = QStringLiteral("M");
    msg_title = QStringLiteral("Torvisk(KX)");
    fill_col_w();
    ok_ = ok_ && open_db();
    list_sql = Query();
    cur_user.clear();
    user_rights.clear();
}

TestShop::~TestShop()
{
    close_rs();
    close_db();
    set_program_dir(QString());
    set_today(QDate());
    g_expected = 0;
}

bool TestShop::login_admin() { return login(QStringLiteral("ADMIN"), delivered_admin_password()); }

bool TestShop::login(const QString& name, const QString& password)
{
    return ::login(clean_input(name.toUpper()), clean_input(password)) == LoginResult::Ok;
}

void TestShop::add_user(const QString& name, const QString& password, const QString& rights)
{
    QVariantList args{name, password};
    for (int i = 0; i < 5; ++i) args << (rights.size() > i && rights[i] == u'1' ? 1 : 0);
    exec(QStringLiteral("insert into TA2 values (?, ?, ?, ?, ?, ?, ?, '', 'B')"), args);
}

int TestShop::exec(const QString& sql, const QVariantList& args)
{
    open_db();
    return db_con->execute(Query(sql, args));
}

QVariant TestShop::scalar(const QString& sql, const QVariantList& args)
{
    open_db();
    return db_con->scalar(Query(sql, args));
}

qint64 TestShop::count(const QString& table, const QString& where, const QVariantList& args)
{
    QString sql = QStringLiteral("select count(*) from ") + table;
    if (!where.isEmpty()) sql += QStringLiteral(" where ") + where;
    return scalar(sql, args).toLongLong();
}

QList<QVariantList> TestShop::rows(const QString& sql, const QVariantList& args)
{
    open_db();
    QList<QVariantList> out;
    Cursor c(*db_con, Query(sql, args));
    while (c.next()) {
        QVariantList r;
        for (int i = 0; i < c.columns(); ++i) r << c.value(i);
        out << r;
    }
    return out;
}

void TestShop::add_member(const QString& cod, const QString& nam, const QString& gbn, const QString& act)
{
    exec(QStringLiteral("insert into TB1 values (?, ?, '2026-01-02', ?, ?, '02-123-4567', '010-1234-5678', '서울', '')"),
         {act, gbn, cod, nam});
}

void TestShop::add_period(const QString& cod, const QString& s_dat, const QString& e_dat, qint64 mon)
{
    exec(QStringLiteral("insert into TB1_1 (cod, s_dat, e_dat, mon, chm) values (?, ?, ?, ?, '')"),
         {cod, s_dat, e_dat, mon});
}

void TestShop::add_category(const QString& nam)
{
    exec(QStringLiteral("insert into TB2 values (?, '')"), {nam});
}

void TestShop::add_item(const QString& cod, const QString& gbn, qint64 dae, qint64 yun, const QString& act,
                        const QString& sta)
{
    exec(QStringLiteral("insert into TB4 values (?, ?, ?, ?, '이름', '규격', '제조', '', '', '', ?, ?, '')"),
         {act, sta, gbn, cod, dae, yun});
}

// -------------------------------------------------------------- MsgResponder
MsgResponder::MsgResponder()
{
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &MsgResponder::poll);
    timer_.start();
}

MsgResponder::~MsgResponder() { timer_.stop(); }

void MsgResponder::poll()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
        box->setProperty("answered", true);
        texts << box->text();
        icons << box->icon();
        titles << box->windowTitle();
        if (while_shown) while_shown(box->text());
        QMessageBox::StandardButton want = QMessageBox::NoButton;
        if (!queue_.isEmpty()) want = queue_.takeFirst();
        QAbstractButton* b = want != QMessageBox::NoButton ? box->button(want) : nullptr;
        if (!b) b = box->button(QMessageBox::Ok);
        if (!b) b = box->button(QMessageBox::Yes);
        if (!b && !box->buttons().isEmpty()) b = box->buttons().first();
        QPointer<QAbstractButton> pb = b;
        QTimer::singleShot(0, box, [pb] { if (pb) pb->click(); });
    }
}

void when_dialog_shows(const QString& name, std::function<void(QWidget*)> f)
{
    auto* t = new QTimer;
    t->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [t, name, f, tries] {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m->objectName() == name && m->isVisible()) {
            t->stop();
            t->deleteLater();
            f(m);
        } else if (++*tries > 2000) {
            t->stop();
            t->deleteLater();
        }
    });
    t->start();
}

void type_text(QWidget* w, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

void press_enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
