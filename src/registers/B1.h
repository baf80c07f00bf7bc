#pragma once
#include "ui/ListWindow.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QProgressBar;
class QRadioButton;

// Member list: the members of a kind and in-use flag that match the search,
// with their latest annual period, payment mark and open rentals.
class B1 : public ListWindow {
    Q_OBJECT
public:
    explicit B1(QWidget* parent = nullptr);

    QComboBox* t_gbn = nullptr;     // kind
    QComboBox* t_chk = nullptr;     // search field
    QRadioButton* op_0 = nullptr;   // 사용중
    QRadioButton* op_1 = nullptr;   // 미사용
    QCheckBox* Check1 = nullptr;    // switch the ticked members in or out of use
    QLineEdit* Text1 = nullptr;     // hidden: the last list query
    QProgressBar* PB = nullptr;

public slots:
    void ms_list() override;
    void cmd_fnd_click();
    void cmd_add_click();
    void cmd_edt_click();
    void cmd_del_click();
    void Check1_click();
    void ms_dbl_click();
    void ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void place_summary();
    void set_col_width();
    void clear_grid();
};
