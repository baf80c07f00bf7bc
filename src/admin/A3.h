#pragma once
#include "ui/ListWindow.h"

class QComboBox;

// The closing runs done so far, newest first; new runs only.
class A3 : public ListWindow {
    Q_OBJECT
public:
    explicit A3(QWidget* parent = nullptr);
    QComboBox* t_chk = nullptr;

public slots:
    void ms_list() override;
    void cmd_fnd_click();
    void cmd_add_click();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void set_col_width();
    void clear_grid();
};
