#pragma once
#include <QDate>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariantList>
#include <functional>
#include <memory>

// A temporary program folder holding a fresh delivered database, made the
// program folder and connected; every SQL error fails the test unless it
// was announced with expect_sql_error().
class TestShop {
public:
    TestShop();
    ~TestShop();
    QString dir() const { return dir_.path(); }
    bool ok() const { return ok_; }

    // Logs in (runs the real log-in) as ADMIN or as another account.
    bool login_admin();
    bool login(const QString& name, const QString& password);
    // Adds an account with rights "10101" style (xls prt add edt del).
    void add_user(const QString& name, const QString& password, const QString& rights);

    // Direct SQL for arranging and checking the data.
    int exec(const QString& sql, const QVariantList& args = {});
    QVariant scalar(const QString& sql, const QVariantList& args = {});
    qint64 count(const QString& table, const QString& where = QString(), const QVariantList& args = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& args = {});

    // Sample data
    void add_member(const QString& cod, const QString& nam, const QString& gbn = QStringLiteral("A"),
                    const QString& act = QStringLiteral("Y"));
    void add_period(const QString& cod, const QString& s_dat, const QString& e_dat, qint64 mon);
    void add_category(const QString& nam);
    void add_item(const QString& cod, const QString& gbn, qint64 dae = 1000, qint64 yun = 500,
                  const QString& act = QStringLiteral("Y"), const QString& sta = QStringLiteral("N"));

    static void expect_sql_error(int n = 1);
    static int unexpected_sql_errors();

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

// Answers the real modal message boxes as they come up: records their texts
// and icons, and presses the queued buttons (OK for notices, Yes for
// questions when nothing is queued).
class MsgResponder : public QObject {
    Q_OBJECT
public:
    MsgResponder();
    ~MsgResponder() override;
    void answer(QMessageBox::StandardButton b) { queue_ << b; }
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QStringList titles;
    QString last() const { return texts.isEmpty() ? QString() : texts.last(); }
    void clear() { texts.clear(); icons.clear(); titles.clear(); }
    // Runs with each box's text while the box is shown, before it is
    // answered: another desk acting between a check and its write.
    std::function<void(const QString& text)> while_shown;

private:
    void poll();
    QTimer timer_;
    QList<QMessageBox::StandardButton> queue_;
};

// Runs f once the next modal dialog (of class T, by objectName) is up,
// then lets it go on; for driving a dialog opened with exec().
void when_dialog_shows(const QString& name, std::function<void(QWidget*)> f);

// Sends text as key events character by character (QTest::keyClicks does not take Hangul).
void type_text(QWidget* w, const QString& text);
void press_enter(QWidget* w);
