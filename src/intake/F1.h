#pragma once
#include "intake/batch.h"
#include "intake/com_proto.h"
#include "ui/ListWindow.h"
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSerialPort;
class QTimer;

// Terminal upload: receives a batch of rentals and returns from the handheld
// terminal over a serial port, logs every transfer in the day's log, puts its
// records into the batch grid and checks them; the clerk deletes faulty rows
// and saves the batch.
//
// Buttons (their names are the screen's own): cmd_add starts the reception,
// cmd_edt stops it, cmd_del saves the batch, Command2 deletes a grid row.
class F1 : public ListWindow {
    Q_OBJECT
public:
    explicit F1(QWidget* parent = nullptr);
    ~F1() override;

    QPushButton* Command2 = nullptr;  // delete the selected row
    QPushButton* Command1 = nullptr;  // hidden: shows or hides List1
    QLabel* Label1 = nullptr;
    QComboBox* t_com = nullptr;       // "COM01" / "COM02"
    QLabel* la_state = nullptr;       // reception state
    QFrame* fm_pb = nullptr;          // frame of the progress bar
    QProgressBar* PB = nullptr;
    QListWidget* List1 = nullptr;     // hidden: the frames received
    QLineEdit* t_cnt = nullptr;       // hidden: records of the last transfer
    QSerialPort* cmn = nullptr;       // the terminal's port
    QTimer* Timer1 = nullptr;         // ACK every 200 ms while a transfer runs

    // Checks the batch in the grid again (after a row is removed, or by others).
    void err_check();
    // The port number that the next start opens (1 or 2).
    int port_number() const { return port_; }

public slots:
    void cmd_add_click();     // start reception
    void cmd_edt_click();     // stop reception
    void cmd_del_click();     // save the batch
    void Command2_click();    // delete the current row
    void Command1_click();    // show or hide List1
    void cmn_on_comm();       // characters arrived
    void Timer1_timer();      // one ACK
    void t_com_change();

protected:
    void form_resize() override;
    void set_col_width() override;
    void closeEvent(QCloseEvent* e) override;

private:
    void clear_grid();
    void send_ack();
    // Lets what is queued for the terminal go out (before a close).
    void drain_port();
    void close_port();
    void transfer_done();
    void transfer_refused();
    void load_received();
    void write_log(const QByteArrayList& frames);

    std::unique_ptr<UploadBatch> batch_;
    com_proto proto_;
    int port_ = 1;
};
