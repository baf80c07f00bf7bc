#pragma once
#include "intake/loads.h"
#include "ui/ListWindow.h"

#include <array>
#include <functional>

class GridStore;
class QComboBox;
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

public:
    // One grid column: its header, its width in twips (0: hidden), its
    // alignment.
    struct Column {
        QString head;
        int width;
        int align;   // FlexGrid::Align
    };
    // What makes a load a member or an item load.
    struct Kind {
        // Caption, the entries of t_gbn and t_chk, the duplicate refusal
        // ("%1" the key), the question and the outcomes.
        QString caption, gbn, chk, duplicate, ask, done, failed;
        // Columns 0 .. 12 (the last one takes the rest of the grid).
        std::function<std::array<Column, k_load_cols>()> columns;
        // Checks one worksheet row, treating its cells; true when it is faulty.
        std::function<bool(LoadCells&)> check;
        // The column whose texts must be unique; the load is sorted on it.
        int key_col;
        std::function<bool(const GridStore&, const LoadProgress&)> save;
    };

protected:
    LoadWindow(const QString& name, Kind kind, QWidget* parent);

    void set_col_width() override;
    void place_summary() override;

private:
    Kind kind_;
    void clear_grid();
    void show_count();
    // PB set to `done`, repainted only when it moves a visible step.
    void progress(int done);
};
