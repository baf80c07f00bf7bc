#pragma once
#include "shell/EditDialog.h"
#include <functional>

class Connection;
class FlexGrid;
class PickerDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The counter screen of one member: the member panel (code, kind, name,
// latest period, balance, open rentals) and the list of items, with a small
// edit panel for one row. Rental entry (C1) and return entry (C2) are built
// on it. The pickers write into t_m_cod / t_p_cod and call mem_chk / pdt_chk.
class CounterForm : public EditDialog {
    Q_OBJECT
public:
    CounterForm(const QString& name, const QString& caption, bool returns, QWidget* parent);

    // Member part.
    QGroupBox* fm_m = nullptr;
    QLineEdit* t_m_cod = nullptr;
    QLineEdit* t_m_gbn = nullptr;
    QLineEdit* t_m_nam = nullptr;
    QLabel* la_m_dat1 = nullptr;
    QLabel* la_arrow = nullptr;
    QLabel* la_m_dat2 = nullptr;
    QLabel* la_m_inf = nullptr;
    QLineEdit* t_m_lange = nullptr;   // rental entry only
    QLineEdit* t_meesoo = nullptr;
    FlexGrid* ms_m = nullptr;
    QLabel* la_m_cnt = nullptr;
    QLineEdit* t_old_cnt = nullptr;
    QLineEdit* t_ava_cnt = nullptr;
    // Item part.
    QGroupBox* fm_p = nullptr;
    QLineEdit* t_p_cod = nullptr;
    QLabel* la_p_tot = nullptr;
    FlexGrid* ms_p = nullptr;
    QLineEdit* t_p_sum = nullptr;
    QLabel* la_p_cnt = nullptr;
    // Edit panel.
    QFrame* pic_upt = nullptr;
    QLineEdit* t_tmp_row = nullptr;
    QLineEdit* t_upt_dat = nullptr;
    QRadioButton* op_kyu1 = nullptr;
    QRadioButton* op_kyu2 = nullptr;
    QLineEdit* t_upt_dae = nullptr;
    QLineEdit* t_upt_cod = nullptr;
    QLabel* la_f1_nam = nullptr;
    QLineEdit* t_upt_f1_nam = nullptr;
    QPushButton* cmd_app = nullptr;
    QPushButton* cmd_del = nullptr;
    QPushButton* cmd_hid = nullptr;
    // Buttons.
    QPushButton* cmd_add = nullptr;
    QPushButton* cmd_clr = nullptr;
    QPushButton* cmd_ext = nullptr;

    // Loads the screen afresh and shows it modally.
    int run();
    void form_load();
    // Filled rows of the list (column 2 not empty).
    int filled_rows() const;

public slots:
    void mem_chk();
    void mem_detail();
    virtual void pdt_chk() = 0;
    void t_m_cod_keydown();
    virtual void t_p_cod_keydown() = 0;
    void cmd_clr_click();
    virtual void cmd_add_click() = 0;
    void cmd_ext_click();
    void ms_p_dblclick();
    void cmd_app_click();
    void cmd_del_click();
    void cmd_hid_click();
    void t_upt_dae_change();

protected:
    void pdt_total();
    void layout_grids();
    // The row the next item goes to: 0 when the barcode is listed already
    // (the box is then emptied), -1 when the list is full.
    int target_row(const QString& barcode);
    // Runs a picker for this screen; it writes back into the screen itself.
    void open_picker(PickerDialog* picker);
    void open_member_picker();
    void open_item_picker();
    // The barcode in t_p_cod looked up: none opens the item picker
    // on the name typed; an item in state `busy_sta` is refused with
    // `busy_text`, an inactive one too (the box is then emptied). True when
    // the item goes on to pdt_chk.
    bool scanned_item_usable(const QString& busy_sta, const QString& busy_text);
    // What the clerk is told along a save, each text whole as the screen
    // shows it; `ask` holds %1 for the number of lines.
    struct CommitTexts {
        QString none, ask, failed, done;
    };
    // The end of a save of n listed items: `none` for no lines; the
    // database; the question `ask`; `save` (not run when the lines are not
    // `lines_ok`) with `failed` or, saved = 1, `done` and a fresh screen.
    void commit_lines(int n, const CommitTexts& texts, bool lines_ok, const std::function<bool()>& save);
    // la_p_tot: how often the item in t_p_cod was rented.
    void show_rental_times(Connection& c);
    QString tag() const { return objectName(); }

    bool returns_;
    int open_count_ = 0;
};

// Rental entry "품목대여등록하기".
class C1 : public CounterForm {
    Q_OBJECT
public:
    explicit C1(QWidget* parent = nullptr);
public slots:
    void pdt_chk() override;
    void t_p_cod_keydown() override;
    void cmd_add_click() override;
};
