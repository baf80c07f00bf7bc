#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// A closing run up to a date.
class A3_add_edt : public QDialog {
    Q_OBJECT
public:
    explicit A3_add_edt(QWidget* parent = nullptr);

    QLineEdit* t_dat = nullptr;
    QLineEdit* t_big = nullptr;
    QLineEdit* t_chk = nullptr;   // mode, hidden
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    int saved = 0;

public slots:
    // Each opening starts with today's date and no remark.
    void Form_Load();
    void cmd_chk_click();
    void cmd_can_click();

protected:
    void done(int r) override;
};
