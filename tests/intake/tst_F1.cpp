#include "intake/F1.h"
#include "data/paths.h"
#include "data/clock.h"
#include "intake/com_proto.h"
#include "records.h"
#include "shell/screens.h"
#include "support/driving.h"
#include "support/fixture.h"
#include "support/pty_terminal.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

// The terminal upload driven end to end: the test plays the handheld
// terminal on the master side of a pseudo-terminal pair, the program folder's
// COM1 (or COM2) links to the slave side.
class TestF1 : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opens_from_the_registry();
    void lays_itself_out();
    void transfer_end_to_end();
    void acks_per_read_start_etx_and_timer();
    void too_few_frames();
    void port_that_cannot_be_opened();
    void second_port();
    void log_that_cannot_be_written();
    void stop_clears_the_reception();
    void oversized_transfer_is_refused();
    void unload_frees_the_port();

private:
    F1* open_screen();
    QString log_path() const { return QDir(shop->dir()).filePath("TXTFILE/2026-03-15.txt"); }
    std::unique_ptr<TestShop> shop;
    std::unique_ptr<PtyTerminal> term;
    QPointer<F1> w;
};

namespace {
const QByteArray S(1, com_proto::STX);
const QByteArray E(1, com_proto::ETX);
QByteArray frame(const QByteArray& text) { return S + text + E; }
const QString k_waiting = QStringLiteral("데이터수신대기중......");
const QString k_done = QStringLiteral("데이터수신을 완료하였습니다!");
const QString k_open_failed = QStringLiteral("통신포트를 열지 못하였습니다!");

QByteArray read_file(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The log entries of a file: each entry's frame lines (the date-and-time line
// checked and dropped).
QList<QByteArrayList> log_entries(const QByteArray& log)
{
    QList<QByteArrayList> out;
    QByteArrayList cur;
    bool head = true;
    const QByteArrayList lines = log.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        QByteArray l = lines[i];
        if (!l.endsWith('\r')) return {};  // every line ends with CR LF
        l.chop(1);
        if (head) {
            static const QRegularExpression stamp(QStringLiteral("^2026-03-15\\d\\d:\\d\\d:\\d\\d$"));
            if (!stamp.match(QString::fromLatin1(l)).hasMatch()) return {};
            head = false;
        } else if (l.isEmpty()) {
            out << cur;
            cur.clear();
            head = true;
        } else {
            cur << l;
        }
    }
    return lines.last().isEmpty() && head ? out : QList<QByteArrayList>{};
}
} // namespace

void TestF1::init()
{
    shop = std::make_unique<TestShop>();
    QVERIFY(shop->ok());
    QVERIFY(shop->login_admin());
    set_today(QDate(2026, 3, 15));
    shop->add_category("DVD");
    shop->add_member("M00001", "정회원", "A");
    shop->add_member("N00001", "비회원", "B");
    shop->add_item("P0000001", "DVD", 1000, 500);
    shop->add_item("P0000002", "DVD", 1000, 500, "Y", "Y");
    shop->add_item("P0000003", "DVD", 1500, 500);
    shop->exec("insert into TC1 (s_dat, c_dat, e_dat, m_cod, p_cod, m_dae, m_yun, m_dae_chk, m_yun_chk, u_dae, "
               "u_ban, big, mgm, ccc) values ('2026-03-10', '2026-03-13', '', 'M00001', 'P0000002', 0, 0, 'Y', "
               "'N', 'ADMIN', '', '', 'N', 0)");
    term = std::make_unique<PtyTerminal>();
    QVERIFY(term->ok());
}

void TestF1::cleanup()
{
    delete w.data();
    term.reset();
    shop.reset();
}

F1* TestF1::open_screen()
{
    w = show_window<F1>(1400, 900);
    return w;
}

void TestF1::opens_from_the_registry()
{
    screens::register_all_screens();
    std::unique_ptr<QWidget> s(screens::create("F1"));
    QVERIFY(qobject_cast<F1*>(s.get()));
    QCOMPARE(s->objectName(), QString("F1"));
    QCOMPARE(s->windowTitle(), QString("단말기데이터수신"));
    auto* f = static_cast<F1*>(s.get());
    QCOMPARE(f->t_com->count(), 2);
    QCOMPARE(f->t_com->currentText(), QString("COM01"));
    QCOMPARE(f->la_state->text(), QString("송수신 상태 및 기타 알림 메시지...."));
    QVERIFY(f->cmd_add->isEnabled());
    QVERIFY(!f->cmd_edt->isEnabled());
    QVERIFY(!f->cmd_del->isEnabled());
    QVERIFY(!f->Timer1->isActive());
    QVERIFY(!f->List1->isVisibleTo(f));   // hidden, not merely inside an unshown window
}

void TestF1::lays_itself_out()
{
    F1* f = open_screen();
    for (const QSize size : {QSize(1400, 900), QSize(1000, 700)}) {
        f->resize(size);
        QTest::qWait(20);
        const int fw = px_to_twips(f->width()), fh = px_to_twips(f->height());
        const TwRect mnu = tw_rect(f->fm_mnu), grd = tw_rect(f->fm_grd), sub = tw_rect(f->fm_sub);
        QCOMPARE(mnu.width, fw - 210);
        QCOMPARE(grd.width, fw - 210);
        QCOMPARE(grd.height, fh - mnu.top - mnu.height - 60);
        QCOMPARE(tw_rect(f->ms).width, grd.width - 240);
        QCOMPARE(tw_rect(f->fm_sum).width, grd.width - 240);
        QCOMPARE(tw_rect(f->ms).top + tw_rect(f->ms).height, grd.height - 120);
        QCOMPARE(tw_rect(f->la_usr).left + tw_rect(f->la_usr).width, tw_rect(f->fm_sum).width - 120);
        // Right to left: cmd_ext 150 from the edge, then Command2, cmd_del, cmd_edt, cmd_add, 60 apart.
        int right = mnu.width - 150;
        for (QWidget* b : {static_cast<QWidget*>(f->cmd_ext), static_cast<QWidget*>(f->Command2),
                           static_cast<QWidget*>(f->cmd_del), static_cast<QWidget*>(f->cmd_edt),
                           static_cast<QWidget*>(f->cmd_add)}) {
            QCOMPARE(tw_rect(b).left + tw_rect(b).width, right);
            right = tw_rect(b).left - 60;
        }
        QCOMPARE(sub.width, mnu.width - sub.left - 5 * tw_rect(f->cmd_ext).width - 240 - 220);
        // The state text and the progress bar share the port bar without overlapping.
        QVERIFY(tw_rect(f->la_state).left + tw_rect(f->la_state).width <= tw_rect(f->fm_pb).left);
        QVERIFY(tw_rect(f->fm_pb).left + tw_rect(f->fm_pb).width <= sub.width);
    }
}

void TestF1::transfer_end_to_end()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    QCOMPARE(f->la_state->text(), k_waiting);
    QVERIFY(f->cmn->isOpen());
    QVERIFY(!f->cmd_add->isEnabled() && !f->t_com->isEnabled() && f->cmd_edt->isEnabled());

    const QByteArray h1 = cp949(QStringLiteral("단말기01 수신")) + "\x80\xFF";
    const QByteArray h2 = "0003";
    const QByteArray r1 = term_record("1", "20260314", "M00001", "P0000001", "1");
    const QByteArray r2 = term_record("2", "20260315", "M00001", "P0000002", "    1");
    const QByteArray r3 = term_record("3", "20260315", "N00001", "P0000003", "01000");

    QVERIFY(term->send("<"));
    QVERIFY(term->wait_acks(2));
    QVERIFY(f->Timer1->isActive());
    // A header split over two reads; several frames and CR LF in one read;
    // a record cut between reads; the end right behind the last frame.
    QVERIFY(term->send(S + h1.left(5)));
    QVERIFY(term->wait_acks(3));
    QVERIFY(term->send(h1.mid(5) + E));
    QVERIFY(term->wait_acks(5));
    QVERIFY(term->send(frame(h2) + "\r\n" + frame(r1.left(20) + "\r\n" + r1.mid(20)) + "\r\n" + S + r2.left(30)));
    QVERIFY(term->wait_acks(8));
    QVERIFY(term->send(r2.mid(30) + E + frame(r3) + ">"));
    QTRY_COMPARE(f->la_state->text(), k_done);
    // Only ACKs came back.
    QCOMPARE(term->answers().count(char(com_proto::ACK)), term->answers().size());

    QVERIFY(!f->cmn->isOpen());
    QVERIFY(!f->Timer1->isActive());
    QVERIFY(f->cmd_add->isEnabled() && f->cmd_del->isEnabled());
    QVERIFY(!f->cmd_edt->isEnabled() && !f->t_com->isEnabled());
    QCOMPARE(f->List1->count(), 5);
    QVERIFY(f->List1->item(0)->text().startsWith(QStringLiteral("단말기01 수신")));

    FlexGrid* ms = f->ms;
    QCOMPARE(ms->rows(), 4);
    QCOMPARE(ms->text(0, 11), QString("회 원 명"));
    QCOMPARE(column(ms, 3), QStringList({"1", "2", "3"}));
    QCOMPARE(column(ms, 4), QStringList({"2026-03-14", "2026-03-15", "2026-03-15"}));
    QCOMPARE(column(ms, 5), QStringList({"M00001", "M00001", "N00001"}));
    QCOMPARE(column(ms, 6), QStringList({"P0000001", "P0000002", "P0000003"}));
    QCOMPARE(column(ms, 7), QStringList({"1", "1", "1,000"}));
    QCOMPARE(column(ms, 1), QStringList({"", "", ""}));
    QCOMPARE(f->la_inf->text(), QString("검색건수: 3건"));
    QCOMPARE(f->t_cnt->text(), QString("3"));

    // The day's log holds the frames exactly as they were sent.
    QCOMPARE(log_entries(read_file(log_path())), (QList<QByteArrayList>{{h1, h2, r1, r2, r3}}));

    MsgResponder msgs;
    click(f, "cmd_del");
    QCOMPARE(msgs.texts, QStringList({"수신 자료를 저장하시겠습니까?", "수신 자료를 저장하였습니다!"}));
    QCOMPARE(shop->count("TC1", "e_dat=''"), 2);
    QCOMPARE(shop->scalar("select m_dae from TC1 where p_cod='P0000003'").toLongLong(), 1500);
    QCOMPARE(shop->scalar("select c_dat from TC1 where p_cod='P0000001'").toString(), QString("2026-03-17"));
    QCOMPARE(shop->scalar("select e_dat from TC1 where p_cod='P0000002'").toString(), QString("2026-03-15"));
    QCOMPARE(shop->scalar("select m_yun from TC1 where p_cod='P0000002'").toLongLong(), 1000);
    QVERIFY(!f->ms->rows() || f->ms->cols() < 17);
    QCOMPARE(f->la_inf->text(), QString("검색대기중..."));

    // A second transfer of the day, all in one read, goes after the first in
    // the same log.
    click(f, "cmd_add");
    QCOMPARE(f->la_state->text(), k_waiting);
    const QByteArray r4 = term_record("2", "20260315", "M00001", "P0000001", "1");
    const int acks_before = term->acks();
    QVERIFY(term->send("<" + frame("H1") + frame("H2") + frame(r4) + ">"));
    QTRY_COMPARE(f->la_state->text(), k_done);
    // The read that carries ">" is answered before the port closes: an ACK
    // for the read, for "<" and for each frame.
    QVERIFY(term->wait_acks(acks_before + 5));
    QCOMPARE(f->ms->rows(), 2);
    QCOMPARE(f->ms->text(1, 1), QString());
    QCOMPARE(log_entries(read_file(log_path())),
             (QList<QByteArrayList>{{h1, h2, r1, r2, r3}, {"H1", "H2", r4}}));
}

void TestF1::acks_per_read_start_etx_and_timer()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    // Waiting, no timer: one ACK per read, one per ETX.
    QVERIFY(term->send("\r\n"));
    QVERIFY(term->wait_acks(1));
    PtyTerminal::settle(300);
    QCOMPARE(term->acks(), 1);
    QVERIFY(term->send(frame("A") + frame("B")));
    QVERIFY(term->wait_acks(4));
    PtyTerminal::settle(300);
    QCOMPARE(term->acks(), 4);
    QVERIFY(!f->Timer1->isActive());
    // "<" answers at once and starts the timer: an ACK every 200 ms.
    QVERIFY(term->send("<"));
    QVERIFY(term->wait_acks(6));
    QVERIFY(f->Timer1->isActive());
    QCOMPARE(f->Timer1->interval(), 200);
    const int before = term->acks();
    PtyTerminal::settle(1100);
    QVERIFY2(term->acks() - before >= 3, qPrintable(QString::number(term->acks() - before)));
    // Stopping ends the answers.
    click(f, "cmd_edt");
    QVERIFY(!f->Timer1->isActive());
    const int stopped = term->acks();
    PtyTerminal::settle(500);
    QCOMPARE(term->acks(), stopped);
}

void TestF1::too_few_frames()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    MsgResponder msgs;
    QVERIFY(term->send("<" + frame("H1") + frame("H2") + ">"));
    QTRY_COMPARE(msgs.texts, QStringList({"전송된 자료가 없습니다"}));
    QCOMPARE(f->la_state->text(), k_done);
    QCOMPARE(f->la_inf->text(), QString("검색건수: 0건"));
    QCOMPARE(f->t_cnt->text(), QString("0"));
    QVERIFY(f->ms->cols() < 17);
    QVERIFY(!QFile::exists(log_path()));
    // "<" and ">" alone: the same.
    msgs.clear();
    click(f, "cmd_add");
    QVERIFY(term->send("<>"));
    QTRY_COMPARE(msgs.texts, QStringList({"전송된 자료가 없습니다"}));
    QVERIFY(!QFile::exists(log_path()));
}

void TestF1::port_that_cannot_be_opened()
{
    // COM1 that is no terminal (a plain file) cannot be opened as a port.
    QFile plain(QDir(shop->dir()).filePath("COM1"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    F1* f = open_screen();
    MsgResponder msgs;
    click(f, "cmd_add");
    QCOMPARE(f->la_state->text(), k_open_failed);
    QVERIFY(f->cmd_add->isEnabled() && f->t_com->isEnabled());
    QVERIFY(!f->cmd_edt->isEnabled() && !f->cmd_del->isEnabled());
    QVERIFY(!f->cmn->isOpen());
    QVERIFY(msgs.texts.isEmpty());
    // A link whose device is gone names the port all the same, and fails.
    QVERIFY(QFile::link(QDir(shop->dir()).filePath("gone"), QDir(shop->dir()).filePath("COM2")));
    f->t_com->setCurrentIndex(1);
    QCOMPARE(f->port_number(), 2);
    click(f, "cmd_add");
    QCOMPARE(f->cmn->portName(), QDir(shop->dir()).filePath("COM2"));
    QCOMPARE(f->la_state->text(), k_open_failed);
}

void TestF1::second_port()
{
    QVERIFY(term->link_as(shop->dir(), "COM2"));
    F1* f = open_screen();
    f->t_com->setCurrentIndex(1);
    click(f, "cmd_add");
    QCOMPARE(f->la_state->text(), k_waiting);
    QCOMPARE(f->cmn->portName(), QDir(shop->dir()).filePath("COM2"));
    QVERIFY(term->send("<"));
    QVERIFY(term->wait_acks(2));
}

void TestF1::log_that_cannot_be_written()
{
    // TXTFILE is a file here: no folder can be made, no log written.
    QVERIFY(QDir(shop->dir()).rmdir("TXTFILE"));
    QFile blocker(QDir(shop->dir()).filePath("TXTFILE"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    MsgResponder msgs;
    QVERIFY(term->send("<" + frame("H1") + frame("H2") +
                       frame(term_record("1", "20260315", "X99999", "P0000001", "1")) + ">"));
    QTRY_COMPARE(msgs.texts, QStringList({"수신로그를 기록하지 못하였습니다!"}));
    // The batch is loaded and checked all the same.
    QTRY_COMPARE(f->ms->rows(), 2);
    QCOMPARE(f->ms->text(1, 1), QString("●"));
    QCOMPARE(f->ms->text(1, 8), QString("회원코드오류,"));
    QCOMPARE(f->la_inf->text(), QString("검색건수: 1건"));
    // The marked row blocks the save; deleting it empties the grid.
    msgs.clear();
    click(f, "cmd_del");
    QCOMPARE(msgs.texts, QStringList({"오류데이터가 존재합니다!"}));
    f->ms->set_row(1);
    click(f, "Command2");
    QCOMPARE(msgs.texts.last(), QString("선택하신 자료를 삭제하시겠습니까?"));
    QVERIFY(f->ms->cols() < 17);
    QCOMPARE(f->la_inf->text(), QString("검색대기중..."));
    QCOMPARE(shop->count("TC1"), 1);
}

void TestF1::stop_clears_the_reception()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    QVERIFY(term->send("<" + frame("H1") + frame("H2") + S + "PART"));
    QVERIFY(term->wait_acks(4));
    QTRY_COMPARE(f->List1->count(), 2);
    click(f, "cmd_edt");
    QCOMPARE(f->List1->count(), 0);
    QCOMPARE(f->la_state->text(), k_waiting);
    QCOMPARE(f->la_inf->text(), QString("검색건수: 0건"));
    QVERIFY(f->cmd_add->isEnabled() && f->t_com->isEnabled() && !f->cmd_edt->isEnabled());
    QVERIFY(!f->cmn->isOpen() && !f->Timer1->isActive());
    // The next reception starts from nothing: the cut frame does not come back.
    click(f, "cmd_add");
    QVERIFY(term->send("<" + frame("X1") + frame("X2") +
                       frame(term_record("1", "20260315", "M00001", "P0000001", "1")) + ">"));
    QTRY_COMPARE(f->la_state->text(), k_done);
    QCOMPARE(log_entries(read_file(log_path())),
             (QList<QByteArrayList>{{"X1", "X2", term_record("1", "20260315", "M00001", "P0000001", "1")}}));
}

void TestF1::oversized_transfer_is_refused()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    const QByteArray endless(com_proto::max_transfer, 'x');
    QVERIFY(term->send("<" + frame("H1") + frame("H2") + S + endless + E + ">"));
    QTRY_COMPARE(f->la_state->text(), k_open_failed);
    QVERIFY(!f->cmn->isOpen() && !f->Timer1->isActive());
    QVERIFY(f->cmd_add->isEnabled() && f->t_com->isEnabled());
    QVERIFY(!f->cmd_edt->isEnabled() && !f->cmd_del->isEnabled());
    QVERIFY(f->ms->cols() < 17);
    // What came is in the log: the frames and the unfinished one, up to the bound.
    const QList<QByteArrayList> entries = log_entries(read_file(log_path()));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].size(), 3);
    QCOMPARE(entries[0][0], QByteArray("H1"));
    QCOMPARE(entries[0][1], QByteArray("H2"));
    QCOMPARE(entries[0][2], QByteArray(com_proto::max_transfer - 10, 'x'));
}

void TestF1::unload_frees_the_port()
{
    QVERIFY(term->link_as(shop->dir(), "COM1"));
    F1* f = open_screen();
    click(f, "cmd_add");
    QVERIFY(f->cmn->isOpen());
    f->close();
    QTRY_VERIFY(!w);
    // The port is free again for the next screen.
    F1* g = open_screen();
    click(g, "cmd_add");
    QCOMPARE(g->la_state->text(), k_waiting);
    QVERIFY(term->send("<"));
    QVERIFY(term->wait_acks(2));
}

QTEST_MAIN(TestF1)
#include "tst_F1.moc"
