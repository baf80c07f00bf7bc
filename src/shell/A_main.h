#pragma once
#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QPushButton;
class QFrame;

// The main window: start picture with the log-in panel, the MDI area the
// list screens open in, the menus and the grids' popup menus.
class A_main : public QMainWindow {
    Q_OBJECT
public:
    explicit A_main(QWidget* parent = nullptr);
    ~A_main() override;

    QMdiArea* mdi = nullptr;
    QFrame* pic_man = nullptr;
    QFrame* pic_con = nullptr;
    QLineEdit* t_nam = nullptr;
    QLineEdit* t_pas = nullptr;
    QPushButton* cmd_ok = nullptr;
    QPushButton* cmd_no = nullptr;
    QLabel* la_inf = nullptr;

    // Start picture hidden: somebody is logged in.
    bool logged_in() const;
    void form_static();

    // A menu item or popup item by its control name; a popup menu by name.
    QAction* menu_action(const QString& name) const;
    QMenu* popup_menu(const QString& name) const;

signals:
    // The main window was unloaded: the program ends (main() quits on it).
    void unloaded();

public slots:
    void MDIForm_Load();
    void MDIForm_Resize();
    void cmd_ok_click();
    void cmd_no_click();

    // Menu commands.
    void start_panel_dialog(const QString& name);   // A1, A4
    void admin_command(const QString& name);        // A2, A3, A6, A7
    void screen_command(const QString& name);       // B1 .. F2
    void log_out();
    void end_program();
    // Popup items: pop 1..6, item 1 (export) or 2 (print).
    void popup_command(int pop, int item);
    // Shows POP1 .. POP6 at a screen position.
    void show_popup(const QString& name, const QPoint& global_pos);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build_login_panel();
    void build_menus();
    void open_screen(const QString& name);
    // The per-item summary E3: kept for the shop's own use, on no menu.
    void open_item_summary();
    void list_output(const QString& code, int item);
    bool unloading_ = false;
};
