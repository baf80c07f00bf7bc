#pragma once
#include <QDialog>

class FlexGrid;
class QCheckBox;
class QLineEdit;
class QPushButton;

// Gives the items handed over from the item list one new rental fee, late
// fee, or both, in one transaction. Kept across openings like the other
// dialogs of the item list.
class B4_pro : public QDialog {
    Q_OBJECT
public:
    explicit B4_pro(QWidget* parent = nullptr);

    QCheckBox* c_dae = nullptr;
    QLineEdit* t_dae = nullptr;
    QCheckBox* c_yun = nullptr;
    QLineEdit* t_yun = nullptr;
    FlexGrid* ms = nullptr;        // the ticked items; column 3 the barcode
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    int saved = 0;

    // Both fees ticked and empty, the grid left for the owner to fill.
    void form_load();

public slots:
    void cmd_chk_click();
    void done(int r) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
