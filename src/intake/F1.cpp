#include "intake/F1.h"
#include "intake/record.h"
#include "intake/terminal.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPort>
#include <QTimer>

#include <termios.h>

namespace {
const QString k_waiting = QStringLiteral("데이터수신대기중......");
const QString k_open_failed = QStringLiteral("통신포트를 열지 못하였습니다!");
}

F1::F1(QWidget* parent)
    : ListWindow(QStringLiteral("F1"), QStringLiteral("단말기데이터수신"),
                 Frame{.mode = QStringLiteral("F1"), .search = false}, parent)
{
    using namespace list_frame;
    cmd_add->setText(QStringLiteral("수신시작"));
    cmd_edt->setText(QStringLiteral("수신중지"));
    cmd_del->setText(QStringLiteral("저장"));
    Command2 = plain_button(fm_mnu, "Command2", QStringLiteral("삭제"), 0, btn_top, btn_width, btn_height);
    Command1 = plain_button(fm_mnu, "Command1", QStringLiteral("수신목록"), 0, btn_top, btn_width, btn_height);
    Command1->hide();

    Label1 = named<QLabel>("Label1", QStringLiteral("통신포트"), fm_sub);
    tw_place(Label1, 120, ctl_top, 900, ctl_height);
    t_com = named<QComboBox>("t_com", fm_sub);
    tw_place(t_com, 1050, ctl_top, 1300, ctl_height);
    la_state = named<QLabel>("la_state", QStringLiteral("송수신 상태 및 기타 알림 메시지...."), fm_sub);
    tw_place(la_state, 2500, ctl_top, 4000, ctl_height);
    fm_pb = named<QFrame>("fm_pb", fm_sub);
    fm_pb->setFrameShape(QFrame::StyledPanel);
    tw_place(fm_pb, 6600, ctl_top - 30, 2600, ctl_height + 60);
    PB = named<QProgressBar>("PB", fm_pb);
    PB->setTextVisible(false);
    PB->setRange(0, 1);
    PB->setValue(0);
    tw_place(PB, 45, 45, 2510, ctl_height - 30);

    List1 = named<QListWidget>("List1", fm_grd);
    // Frames are fixed-width records: a fixed font keeps their fields in line.
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->hide();
    t_cnt = named<QLineEdit>("t_cnt", fm_grd);
    t_cnt->hide();
    la_inf->setText(QStringLiteral("검색건수:"));

    cmn = new QSerialPort(this);
    cmn->setObjectName(QStringLiteral("cmn"));
    cmn->setBaudRate(QSerialPort::Baud19200);
    cmn->setDataBits(QSerialPort::Data8);
    cmn->setParity(QSerialPort::NoParity);
    cmn->setStopBits(QSerialPort::OneStop);
    cmn->setFlowControl(QSerialPort::NoFlowControl);
    cmn->setReadBufferSize(1024);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);

    batch_ = std::make_unique<UploadBatch>(BatchSource::Terminal, ms, PB, la_inf);
    batch_->clear_grid();
    t_com->addItem(QStringLiteral("COM01"));
    t_com->addItem(QStringLiteral("COM02"));
    t_com->setCurrentIndex(0);
    port_ = 1;
    cmd_edt->setEnabled(false);
    cmd_del->setEnabled(false);

    connect(cmd_add, &QPushButton::clicked, this, &F1::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &F1::cmd_edt_click);
    connect(cmd_del, &QPushButton::clicked, this, &F1::cmd_del_click);
    connect(Command2, &QPushButton::clicked, this, &F1::Command2_click);
    connect(Command1, &QPushButton::clicked, this, &F1::Command1_click);
    connect(cmn, &QSerialPort::readyRead, this, &F1::cmn_on_comm);
    connect(Timer1, &QTimer::timeout, this, &F1::Timer1_timer);
    connect(t_com, &QComboBox::currentTextChanged, this, &F1::t_com_change);
}

F1::~F1() { close_port(); }

void F1::closeEvent(QCloseEvent* e)
{
    close_port();
    ListWindow::closeEvent(e);
}

void F1::clear_grid() { batch_->clear_grid(); }
void F1::set_col_width() { batch_->set_col_width(); }
void F1::err_check() { batch_->err_check(); }

void F1::form_resize()
{
    layout_list_buttons(this, {"cmd_ext", "Command2", "cmd_del", "cmd_edt", "cmd_add"});
    // In the port bar: the state text runs from the port box to the
    // progress bar, which keeps the right end.
    const int sub_w = tw_rect(fm_sub).width;
    const TwRect pb = tw_rect(fm_pb);
    const int pb_w = std::clamp(sub_w / 4, 1200, 2600);
    const int pb_left = std::max(sub_w - pb_w - 120, 4000);
    tw_place(fm_pb, pb_left, pb.top, pb_w, pb.height);
    tw_place(PB, 45, 45, pb_w - 90, pb.height - 90);
    const TwRect st = tw_rect(la_state);
    tw_place(la_state, st.left, st.top, std::max(pb_left - st.left - 120, 600), st.height);
    // List1, when shown, stands over the right half of the grid.
    const TwRect g = tw_rect(ms);
    tw_place(List1, g.left + g.width / 2, g.top, g.width / 2, g.height);
}

void F1::send_ack()
{
    if (cmn->isOpen()) cmn->write(&com_proto::ACK, 1);
}

void F1::drain_port()
{
    if (!cmn->isOpen()) return;
    // An ACK or two at 19200 bit/s leave in well under a millisecond; the
    // timeout only bounds a port that takes nothing.
    cmn->flush();
    if (cmn->bytesToWrite() > 0) cmn->waitForBytesWritten(100);
    // Out of the driver as well, before the close resets the line's settings.
    if (cmn->bytesToWrite() == 0) ::tcdrain(int(cmn->handle()));
}

void F1::close_port()
{
    Timer1->stop();
    if (cmn->isOpen()) cmn->close();
}

void F1::cmd_add_click()
{
    proto_.reset();
    List1->clear();
    clear_grid();
    port_ = com_port_number(t_com->currentText());
    cmd_edt->setEnabled(true);
    close_port();
    cmn->setPortName(com_port_path(port_));
    if (!cmn->open(QIODevice::ReadWrite)) {
        la_state->setText(k_open_failed);
        t_com->setEnabled(true);
        cmd_add->setEnabled(true);
        cmd_edt->setEnabled(false);
        cmd_del->setEnabled(false);
        return;
    }
    la_state->setText(k_waiting);
    t_com->setEnabled(false);
    cmd_add->setEnabled(false);
    cmd_edt->setEnabled(true);
}

void F1::cmn_on_comm()
{
    // Every read is answered, whatever it holds.
    send_ack();
    if (!cmn->isOpen()) return;
    const QByteArray got = cmn->readAll();
    for (const com_proto::Event& e : proto_.feed(got)) {
        switch (e.mark) {
        case com_proto::Mark::Start:
            send_ack();
            Timer1->start();
            break;
        case com_proto::Mark::Frame:
            List1->addItem(decode_cp949(e.frame));
            send_ack();
            break;
        case com_proto::Mark::End:
            transfer_done();
            return;
        case com_proto::Mark::Overflow:
            transfer_refused();
            return;
        }
    }
}

void F1::Timer1_timer() { send_ack(); }

void F1::t_com_change()
{
    close_port();
    port_ = com_port_number(t_com->currentText());
}

void F1::transfer_done()
{
    // The ACK that answered the read carrying ">" still sits in the port's
    // queue, and a close drops whatever is queued: it goes out first.
    drain_port();
    close_port();
    la_state->setText(QStringLiteral("데이터수신을 완료하였습니다!"));
    cmd_add->setEnabled(true);
    cmd_del->setEnabled(true);
    cmd_edt->setEnabled(false);
    load_received();
}

// A terminal that sends more than a reception may hold: what came is kept in
// the day's log, nothing is loaded, and the port is given up as after a
// failed open.
void F1::transfer_refused()
{
    close_port();
    QByteArrayList came = proto_.frames();
    if (!proto_.com_line().isEmpty()) came.append(proto_.com_line());
    clear_grid();
    la_state->setText(k_open_failed);
    t_com->setEnabled(true);
    cmd_add->setEnabled(true);
    cmd_edt->setEnabled(false);
    cmd_del->setEnabled(false);
    if (!came.isEmpty()) write_log(came);
}

void F1::write_log(const QByteArrayList& frames)
{
    if (!append_rcv_log(frames)) msg_info(this, QStringLiteral("수신로그를 기록하지 못하였습니다!"));
}

void F1::load_received()
{
    clear_grid();
    const QByteArrayList& frames = proto_.frames();
    const int n = std::max(int(frames.size()) - 2, 0);
    t_cnt->setText(QString::number(n));
    la_inf->setText(count_text(n));
    if (frames.size() < 3) {
        msg_info(this, QStringLiteral("전송된 자료가 없습니다"));
        return;
    }
    // A log that cannot be written is told, and the batch is loaded all the same.
    write_log(frames);
    std::vector<BatchRecord> records;
    records.reserve(size_t(n));
    for (qsizetype i = 2; i < frames.size(); ++i) records.push_back(term_rec_row(parse_term_rec(frames[i])));
    batch_->load(records);
}

void F1::cmd_edt_click()
{
    close_port();
    t_com->setEnabled(true);
    cmd_add->setEnabled(true);
    cmd_edt->setEnabled(false);
    clear_grid();
    la_state->setText(k_waiting);
    List1->clear();
    proto_.reset();
    la_inf->setText(count_text(0));
}

void F1::cmd_del_click() { batch_->save(this); }

void F1::Command2_click() { batch_->delete_row(this); }

void F1::Command1_click()
{
    List1->setVisible(!List1->isVisible());
    if (List1->isVisible()) List1->raise();
}
