#pragma once
#include <QMainWindow>

class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QFrame;

// The main window: start picture with the log-in panel, the MDI area the
// list screens open in, the menus.
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

    bool logged_in() const;
    void form_static();

public slots:
    void MDIForm_Load();
    void MDIForm_Resize();
    void cmd_ok_click();
    void cmd_no_click();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build_login_panel();
    void build_menus();
};
