#pragma once
#include <QWidget>

class FlexGrid;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Places the frame of a list window after a resize; mode "all", "edt",
// "add", "ext" (any other text places no button). Controls are found by
// name on the form; a missing one is skipped.
void layout_list_form(const QString& mode, QWidget* form);

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
    // Left edge (twips) in fm_sub where the screen's own search controls may
    // start, and the left of t_ser; screens that put combos in front of the
    // search box move t_ser with set_search_left.
    void set_search_left(int twips);

    // The last column of a list grid takes the width that remains, less 330
    // twips, and at least 2500.
    void fit_last_column();

public slots:
    virtual void ms_list() {}

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QString mode_;
};

// The standard design measures of the frame (twips).
namespace list_frame {
constexpr int mnu_left = 105, mnu_top = 60, mnu_height = 720;
constexpr int sub_left = 120, sub_top = 120, sub_height = 540;
constexpr int btn_top = 180, btn_width = 1215, btn_height = 420;
constexpr int ctl_top = 105, ctl_height = 330;   // boxes inside fm_sub
constexpr int grd_left = 105;
constexpr int sum_left = 120, sum_top = 150, sum_height = 420;
constexpr int ms_left = 120, ms_top = 630;
}
