#pragma once
#include <QDialog>

class FlexGrid;
class QCheckBox;
class QFrame;
class QPushButton;

// Fee payment: marks the rental and late fees of the rentals handed over
// from the history window paid or unpaid, all in one transaction.
class C3 : public QDialog {
    Q_OBJECT
public:
    explicit C3(QWidget* parent = nullptr);

    // Fills the grid with the ticked rows of the history grid `from`, in
    // list order; the number of rows handed over.
    int load_rows(const FlexGrid& from);

    int saved = 0;

    QFrame* fm_sub = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    FlexGrid* ms = nullptr;

public slots:
    void cmd_chk_click();
    void cmd_can_click();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void done(int r) override;
};
