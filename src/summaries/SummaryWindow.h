#pragma once
#include "data/db.h"
#include "ui/ListWindow.h"

class QCheckBox;
class QDateEdit;
class QProgressBar;

// The frame of the summaries E1, E2 and E3: a read-only list window with a
// date range, a kind or category combo, a search-field combo and the search
// box, the progress bar in the top bar, the exit button alone on the right,
// and a detail box on the summary bar. A screen gives its query, its fill
// and its widths; the load sequence is the same for all.
class SummaryWindow : public ListWindow {
    Q_OBJECT
public:
    // `with_text1`: the hidden box that receives the last list query;
    // `popup`: the main window's popup menu of a right click on the grid
    // (none when empty).
    SummaryWindow(const QString& name, const QString& caption, const QString& detail_caption, bool with_text1,
                  const QString& popup, QWidget* parent = nullptr);

    QFrame* Frame2 = nullptr;
    QProgressBar* PB = nullptr;
    QDateEdit* t_date1 = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* t_date2 = nullptr;
    QComboBox* t_gbn = nullptr;
    QComboBox* t_chk = nullptr;
    QCheckBox* Check1 = nullptr;
    QLineEdit* Text1 = nullptr;

public slots:
    // Empties the grid, cleans the search text, opens the database, builds
    // the query into list_sql (and Text1) and fills the grid with it.
    void ms_list() override;
    void t_gbn_click() { ms_list(); }
    void Check1_click() { set_col_width(); }
    void ms_mousedown(Qt::MouseButton button, const QPoint& global_pos);

protected:
    // The member summaries' combos: their one kind, then the search fields.
    void set_member_combos(const QString& kind);
    virtual Query list_query() const = 0;
    // Fills ms from the query; the number of rows to count in la_inf.
    virtual int fill_grid(const Query& q) = 0;
    void place_summary() override;

private:
    QString popup_;
};
