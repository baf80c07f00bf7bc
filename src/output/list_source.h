#pragma once
#include <QString>

class FlexGrid;
class QDateEdit;
class QLabel;
class QProgressBar;
class QWidget;

// What the export and the print read of a list window, found by name: its
// caption, the grid ms, the count line la_inf, the period pickers t_date1
// and t_date2 (history and summaries only) and the progress bar PB. A part
// the window lacks is null.
struct ListSource {
    QWidget* form = nullptr;
    FlexGrid* ms = nullptr;
    QLabel* la_inf = nullptr;
    QDateEdit* t_date1 = nullptr;
    QDateEdit* t_date2 = nullptr;
    QProgressBar* PB = nullptr;

    static ListSource of(QWidget* form);
    QString caption() const;
    QString info() const;                 // la_inf's caption
    QString date1() const;                // "yyyy-mm-dd", empty without picker
    QString date2() const;
    // False for a grid without data rows (a search that found nothing).
    bool has_rows() const;
    // The progress bar: value 0 and the maximum; then one step per row.
    void start_progress(int max) const;
    void step_progress() const;
};
