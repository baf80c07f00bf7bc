#pragma once
#include <QWidget>
#include <functional>

class Cursor;
class FlexGrid;
struct Query;
class QComboBox;
class QProgressBar;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Places the frame of a list window after a resize; mode "all", "edt",
// "add", "ext" (any other text places no button). Controls are found by
// name on the form; a missing one is skipped.
void layout_list_form(const QString& mode, QWidget* form);
// The same with the buttons named right to left (the first is cmd_ext, 150
// twips from the right edge; each further one 60 twips left of the one before).
void layout_list_buttons(QWidget* form, const QStringList& right_to_left);
// Where the screen's own controls in fm_sum would lie over the count line
// la_inf or a progress bar PB, these give way (the bar is hidden, the line
// ends before the next control); elsewhere everything keeps its place, and
// a window grown again gives them their places back.
void give_way_in_summary(QWidget* form);

// The frame every list window shares: a button bar fm_mnu with the search
// bar fm_sub (t_ser, cmd_fnd) and the buttons cmd_add, cmd_edt, cmd_del,
// cmd_ext; the grid frame fm_grd with the summary bar fm_sum (la_inf,
// la_usr) and the grid ms. A screen builds its own controls into fm_sub and
// fm_sum, sets its caption, and loads its list in ms_list.
class ListWindow : public QWidget {
    Q_OBJECT
public:
    struct Frame {
        QString mode = QStringLiteral("all");   // layout mode
        bool add = true, edt = true, del = true; // which buttons exist (cmd_ext always)
        bool search = true;                      // t_ser and cmd_fnd
    };
    ListWindow(const QString& name, const QString& caption, const Frame& frame, QWidget* parent = nullptr);
    ~ListWindow() override;

    QFrame* fm_mnu = nullptr;
    QFrame* fm_sub = nullptr;
    QLineEdit* t_ser = nullptr;
    QPushButton* cmd_fnd = nullptr;
    QPushButton* cmd_add = nullptr;
    QPushButton* cmd_edt = nullptr;
    QPushButton* cmd_del = nullptr;
    QPushButton* cmd_ext = nullptr;
    QFrame* fm_grd = nullptr;
    QFrame* fm_sum = nullptr;
    QLabel* la_inf = nullptr;
    QLabel* la_usr = nullptr;
    FlexGrid* ms = nullptr;

    const QString& layout_mode() const { return mode_; }
    // A combo box in fm_sub, in line with the search box.
    QComboBox* add_sub_combo(const char* name, int left, int width);
    // The list's progress bar PB in fm_sum (no text, value 0), placed in twips.
    QProgressBar* add_progress_bar(int left, int top, int width, int height);
    // After a fill of n rows: the bar full at n, or at 0 when nothing was
    // found (never a range of 0 to 0, which would show a busy bar).
    static void show_list_progress(QProgressBar* pb, qint64 n);
    // Left edge (twips) in fm_sub where the screen's own search controls may
    // start, and the left of t_ser; screens that put combos in front of the
    // search box move t_ser with set_search_left.
    void set_search_left(int twips);
    // t_ser holds a chosen file's whole path rather than a search text: the
    // search boxes' length limit is lifted.
    void hold_path_in_search_box();

    // The last column of a list grid takes the width that remains, less 330
    // twips, and at least 2500.
    void fit_last_column();

    // Lines up the screen's own controls in fm_sum right to left, the first
    // ending where la_usr begins; each keeps `gap` twips to the one before.
    void place_left_of_user(const QList<QPair<QWidget*, int>>& controls);

    // The start of every list load: the grid emptied, the search text
    // cleaned, the database opened (false, told to the clerk, when it cannot be).
    bool start_list();
    // The current data row for an action that needs `right` ("add", "edt",
    // "del"); 0 when there is none or the user lacks the right (then told so).
    int action_row(const QString& right);

    // Loads the rows of q on db_con into ms, below the header the caller has
    // set up with redraw off; `fill` copies the cursor's current row into
    // grid row r. A failed query or no row leaves the grid empty. Shows the
    // count in la_inf, makes row 1 current, sets the column widths; the count.
    int load_rows(const Query& q, const std::function<void(const Cursor& cur, int r)>& fill);

public slots:
    virtual void ms_list() {}
    // cmd_fnd, and Enter in t_ser (a double click empties it): a new search.
    virtual void cmd_fnd_click() { ms_list(); }

protected:
    // Run after the frame is laid out, on every resize and when shown: the
    // screen places its own controls in fm_sum, then sets its column widths.
    virtual void place_summary() {}
    // Lays the frame out on every resize and when shown: layout_list_form
    // with the window's mode, unless the screen lays itself out.
    virtual void form_resize() { layout_list_form(mode_, this); }
    virtual void set_col_width() {}

    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // Tab and Shift+Tab go through the controls as a clerk reads them: the
    // bars from the top, each from the left, the grid last; as they lie now.
    bool focusNextPrevChild(bool next) override;

private:
    QString mode_;
};

// The standard design measures of the frame (twips).
namespace list_frame {
constexpr int mnu_left = 105, mnu_top = 60, mnu_height = 720;
constexpr int sub_left = 120, sub_top = 120, sub_height = 540;
constexpr int btn_top = 180, btn_width = 1215, btn_height = 420;
constexpr int ctl_top = 105, ctl_height = 330;   // boxes inside fm_sub
constexpr int ser_min_width = 1500;              // the search box at its narrowest
constexpr int grd_left = 105;
constexpr int sum_left = 120, sum_top = 150, sum_height = 420;
constexpr int ms_left = 120, ms_top = 630;
constexpr int min_width = 14100;                 // narrowest window whose bars hold without overlap
}
