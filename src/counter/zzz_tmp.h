#pragma once
#include <QDialog>

class FlexGrid;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The earlier combined counter: takes items back and hands them out for one
// member on one screen. It works on the first layout of the rental table
// (sta, mon_sel1, mon_yun1, chk_sel, chk_yun, mon_sel2, mon_yun2), which the
// current table does not carry; nothing in the program opens it.
class zzz_tmp : public QDialog {
    Q_OBJECT
public:
    explicit zzz_tmp(QWidget* parent = nullptr);

    QLineEdit* t_m_cod = nullptr;
    QLineEdit* t_m_cod2 = nullptr;
    QLineEdit* t_meesoo = nullptr;
    QLineEdit* t_old_cnt = nullptr;
    QLineEdit* t_ava_cnt = nullptr;
    QLabel* la_m_cnt = nullptr;
    FlexGrid* ms_m = nullptr;

    QLineEdit* t_p_cod = nullptr;
    QDateEdit* t_p_dat = nullptr;
    QLineEdit* t_p_dae = nullptr;
    QLineEdit* t_p_yun = nullptr;
    QLabel* la_p_cnt = nullptr;
    FlexGrid* ms_p = nullptr;

    QLineEdit* t_p_dae_tot = nullptr;
    QLineEdit* t_p_yun_tot = nullptr;
    QLineEdit* t_tot_money = nullptr;
    QLineEdit* t_kyu_money = nullptr;

    QPushButton* cmd_add = nullptr;
    QPushButton* cmd_clr = nullptr;
    QPushButton* cmd_ext = nullptr;

public slots:
    void cmd_clr_click();
    void cmd_add_click();
    void cmd_ext_click();
    void t_p_cod_keydown(int key);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void show_member();
    void count_items();
    void set_ms_p_widths();
    void set_m_cod_locked(bool on);
    bool m_cod_locked() const;
};
