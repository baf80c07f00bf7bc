#pragma once
#include "ui/ListWindow.h"

class QCheckBox;
class QComboBox;
class QProgressBar;
class QRadioButton;

// Item list: items by category, use and a search field, rented ones first;
// add, edit, delete, in-use switch and the bulk fee adjustment of the
// ticked rows.
class B4 : public ListWindow {
    Q_OBJECT
public:
    explicit B4(QWidget* parent = nullptr);
    ~B4() override;

    QComboBox* t_gbn = nullptr;     // category, "전체보기" first
    QProgressBar* PB = nullptr;
    QComboBox* t_chk = nullptr;     // search field
    QRadioButton* op_0 = nullptr;   // "사용중"
    QRadioButton* op_1 = nullptr;   // "미사용"
    QCheckBox* Check1 = nullptr;    // in-use switch of the ticked rows
    QCheckBox* Check2 = nullptr;    // bulk fee adjustment of the ticked rows
    QLineEdit* Text1 = nullptr;     // the last list query, hidden

public slots:
    void ms_list() override;
    void cmd_add_click();
    void cmd_edt_click();
    void cmd_del_click();
    void ms_dbl_click();
    void ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos);
    void check1_click(bool ticked);
    void check2_click(bool ticked);

protected:
    void set_col_width() override;
    void place_summary() override;

private:
    QStringList ticked_barcodes() const;
};
