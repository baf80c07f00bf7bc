#pragma once
#include "ui/ListWindow.h"

class QComboBox;

// The log-in accounts with their rights.
class A2 : public ListWindow {
    Q_OBJECT
public:
    explicit A2(QWidget* parent = nullptr);
    QComboBox* t_chk = nullptr;

public slots:
    void ms_list() override;
    void cmd_fnd_click();
    void cmd_add_click();
    void cmd_edt_click();
    void cmd_del_click();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void set_col_width();
    void clear_grid();
};
