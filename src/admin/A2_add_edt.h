#pragma once
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// One account: added ("add") or edited ("edt") from the list A2.
class A2_add_edt : public QDialog {
    Q_OBJECT
public:
    explicit A2_add_edt(QWidget* parent = nullptr);

    QLineEdit* t_nam = nullptr;
    QLineEdit* t_pas = nullptr;
    QCheckBox* ch1 = nullptr;
    QCheckBox* ch2 = nullptr;
    QCheckBox* ch3 = nullptr;
    QCheckBox* ch4 = nullptr;
    QCheckBox* ch5 = nullptr;
    QLineEdit* t_big = nullptr;
    QLineEdit* t_chk = nullptr;   // mode, hidden
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    int saved = 0;

    // Before each showing: boxes empty, and the name of the listed account
    // an edit writes to.
    void reset();
    void set_key(const QString& name) { key_ = name; }

public slots:
    void cmd_chk_click();
    void cmd_can_click();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    QCheckBox* ch(int i) const;
    QString key_;
};
