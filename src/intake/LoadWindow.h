#pragma once
#include "intake/loads.h"
#include "ui/ListWindow.h"

#include <array>

class QComboBox;
class QFileDialog;
class QFrame;
class QProgressBar;

// The frame of the workbook loads (A6 members, A7 items): a workbook chosen
// in the file dialog is read into the grid from its second row on, every row
// checked and faulty rows marked; the administrator deletes rows with a
// double click and registers the whole load in one transaction.
class LoadWindow : public ListWindow {
    Q_OBJECT
public:
    QComboBox* t_gbn = nullptr;   // its one entry, shown
    QComboBox* t_chk = nullptr;   // the instruction, shown
    QFrame* Frame2 = nullptr;
    QProgressBar* PB = nullptr;
    QFileDialog* cd = nullptr;    // made while a workbook is chosen

    // Reads the workbook at `path` into the grid, checked and sorted. A file
    // that cannot be read is told to the administrator and leaves the grid
    // empty: false.
    bool load_file(const QString& path);
    // Registers the loaded rows; false when the database cannot be opened or
    // anything failed (then nothing is kept).
    bool save_rows();

public slots:
    void cmd_fnd_click() override;
    void cmd_add_click();
    void ms_dbl_click();

protected:
    // One grid column: its header, its width in twips (0: hidden), its
    // alignment.
    struct Column {
        QString head;
        int width;
        int align;   // FlexGrid::Align
    };
    LoadWindow(const QString& name, const QString& caption, const QString& gbn_entry, const QString& chk_entry,
               QWidget* parent);

    // Columns 0 .. 11 (the last column takes the rest of the grid).
    virtual std::array<Column, k_load_cols> columns() const = 0;
    // Checks one worksheet row, treating its cells; true when it is faulty.
    virtual bool check_cells(LoadCells& cells) const = 0;
    // The column whose texts must be unique; the load is sorted on it.
    virtual int key_col() const = 0;
    virtual QString duplicate_text(const QString& key) const = 0;
    virtual QString ask_text() const = 0;
    virtual QString done_text() const = 0;
    virtual QString failed_text() const = 0;
    virtual bool save(const LoadProgress& progress) = 0;

    void set_col_width() override;
    void place_summary() override;

private:
    void clear_grid();
    void show_count();
    // PB set to `done`, repainted only when it moves a visible step.
    void progress(int done);
};
