#pragma once
#include "ui/ListWindow.h"

class QComboBox;
class QProgressBar;

// Category list: the categories of the items, with their remarks.
class B2 : public ListWindow {
    Q_OBJECT
public:
    explicit B2(QWidget* parent = nullptr);
    ~B2() override;

    QComboBox* t_gbn = nullptr;   // kind: only "전체보기"
    QProgressBar* PB = nullptr;
    QComboBox* t_chk = nullptr;   // search field

public slots:
    void ms_list() override;
    void cmd_add_click();
    void cmd_edt_click();
    void cmd_del_click();
    void ms_mouse_down(Qt::MouseButton button, const QPoint& global_pos);

protected:
    void set_col_width() override;
};
