#pragma once
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// Where this desktop finds PGM.mdb: program server, or a shared folder.
// Saving rewrites CONPATH.txt and ends the program.
class A1 : public QDialog {
    Q_OBJECT
public:
    explicit A1(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QCheckBox* t_chk = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* t_code = nullptr;
    QPushButton* cmd_ok = nullptr;

public slots:
    void Form_Load();
    void cmd_ok_click();
};
