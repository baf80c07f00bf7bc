#pragma once
#include "intake/batch.h"
#include "ui/ListWindow.h"

class QLabel;
class QProgressBar;

// Text-file upload "텍스트파일업로드": a text file of 51-byte records chosen
// in the Open dialog becomes a batch of rentals and returns, checked row by
// row; the clerk deletes faulty rows and saves the batch.
class F2 : public ListWindow {
    Q_OBJECT
public:
    explicit F2(QWidget* parent = nullptr);
    ~F2() override;

    QLabel* Label1 = nullptr;
    QLabel* Picture1 = nullptr;
    QProgressBar* PB = nullptr;

    // Checks the loaded batch against the database and marks faulty rows.
    void err_check();
    UploadBatch& batch() { return batch_; }

public slots:
    void cmd_fnd_click() override;
    void cmd_add_click();
    void cmd_edt_click();
    void t_ser_dbl_click();

protected:
    void set_col_width() override;
    void place_summary() override;

private:
    // Reads the chosen file (path_) into the grid and checks it.
    void load_text_file();
    void clear_grid();
    // No file chosen: the path and its box emptied.
    void forget_file();
    UploadBatch batch_;
    // The file chosen in the dialog, as the dialog gave it; t_ser shows it.
    QString path_;
};
