#pragma once
#include "admin/settings.h"
#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

// The settings of the TB0 row; saving ends the program so that the next
// log-in reads them.
class A4 : public QDialog {
    Q_OBJECT
public:
    explicit A4(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLineEdit* t_p_cod_cnt = nullptr;
    QLineEdit* t_m_cod_cnt = nullptr;
    QLineEdit* t_haebi = nullptr;
    QLineEdit* t_f1_nam = nullptr;
    QLineEdit* t_f2_nam = nullptr;
    QLineEdit* t_f3_nam = nullptr;
    QLineEdit* t_f4_nam = nullptr;
    QLineEdit* t_f5_nam = nullptr;
    QLineEdit* t_f6_nam = nullptr;
    QLineEdit* t_max_dat = nullptr;
    QLineEdit* t_max_cnt = nullptr;
    QPushButton* cmd_ok = nullptr;

    // The box of a field (SettingsField order).
    QLineEdit* box(int field) const { return boxes_[field]; }

public slots:
    void Form_Load();
    void cmd_ok_click();

private:
    void number_change(QLineEdit* b);
    QLineEdit* boxes_[F_COUNT] = {};
    bool formatting_ = false;
};
