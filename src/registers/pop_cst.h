#pragma once
#include <QDialog>

class FlexGrid;
class QFrame;
class QLineEdit;

// The frame both pickers share: a modal window with one grid that runs the
// query its caller left in list_sql and hands a code back to the caller.
// The caller (a screen named "C1" or "C2") writes its name into t_chk before
// showing the picker; on a choice the picker writes the code into the
// caller's box, closes, and calls the caller's check slot (directly, before
// exec() returns). exec() gives Accepted after such a hand-back, Rejected
// after Esc, when the caller's box keeps what was typed.
class PickerDialog : public QDialog {
    Q_OBJECT
public:
    PickerDialog(const QString& name, const QString& caption, QWidget* parent);
    ~PickerDialog() override;

    QFrame* fm_grd = nullptr;
    FlexGrid* ms = nullptr;
    QLineEdit* t_chk = nullptr;   // hidden: the caller's name

public slots:
    // Loads the grid from list_sql; run at every showing.
    virtual void ms_list() = 0;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

    // Empties the grid: no rows, no columns.
    void clear_grid();
    // Last column: what remains of the grid's width less 330, at least 2500.
    void fit_last_column();
    virtual void set_col_width() = 0;
    // The current row's choice (double click or Enter).
    virtual void choose() = 0;
    // Writes code into the caller's box, closes, then runs the caller's slot.
    // Nothing happens unless t_chk names "C1" or "C2" exactly and that screen
    // is loaded.
    bool hand_back(const char* box, const char* slot, const QString& code);
    // The caller named in t_chk ("C1" or "C2"), else empty.
    QString caller_name() const;
};

// Member picker: the members of the caller's query; the chosen member code
// goes into the caller's t_m_cod, then the caller's mem_chk runs.
class pop_cst : public PickerDialog {
    Q_OBJECT
public:
    explicit pop_cst(QWidget* parent = nullptr);

public slots:
    void ms_list() override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void set_col_width() override;
    void choose() override;
};
