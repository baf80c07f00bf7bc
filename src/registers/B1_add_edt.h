#pragma once
#include "shell/EditDialog.h"

class FlexGrid;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Member dialog: registers or edits a member and keeps the annual periods
// of a regular member. The owner B1 writes the mode ("add"/"edt") into
// t_chk and fills the boxes before showing it.
class B1_add_edt : public EditDialog {
    Q_OBJECT
public:
    explicit B1_add_edt(QWidget* parent = nullptr);

    // Member part
    QRadioButton* op_0 = nullptr;   // (A)정회원
    QRadioButton* op_1 = nullptr;   // (B)비회원
    QLineEdit* t_c_dat = nullptr;
    QLineEdit* t_cod = nullptr;
    QLineEdit* t_nam = nullptr;
    QLineEdit* t_tel = nullptr;
    QLineEdit* t_phn = nullptr;
    QLineEdit* t_adr = nullptr;
    QLineEdit* t_big = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    // Filled by the program
    QLineEdit* t_chk = nullptr;
    QLineEdit* t_tmp_gbn = nullptr;
    QLineEdit* t_idx = nullptr;
    // Period part
    QFrame* fm1 = nullptr;
    QLineEdit* t_s_dat = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* t_e_dat = nullptr;
    QRadioButton* Option1 = nullptr;   // 예
    QRadioButton* Option2 = nullptr;   // 아니요
    QLineEdit* t_chm = nullptr;
    QFrame* fm2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QFrame* fm3 = nullptr;
    FlexGrid* ms = nullptr;

public slots:
    void cmd_chk_click();
    void Command1_click();
    void Command2_click();
    void Command3_click();
    void Command4_click();
    void ms_dbl_click();

protected:
    void on_close() override;
    void showEvent(QShowEvent* e) override;

private:
    void reset_controls();
    void load_periods();
    void clear_periods();
    QString mode() const;
    QString member_code() const;
};
