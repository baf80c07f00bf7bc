#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// Adds a category or changes its remark. Kept across openings: `saved`
// survives, and every closing after a save reloads the category list.
class B2_add_edt : public QDialog {
    Q_OBJECT
public:
    explicit B2_add_edt(QWidget* parent = nullptr);

    QLineEdit* t_nam = nullptr;
    QLineEdit* t_big = nullptr;
    QLineEdit* t_chk = nullptr;   // mode "add" / "edt", hidden
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    int saved = 0;

    // Boxes back to their opening state; the owner then sets the mode and,
    // for an edit, the row's values.
    void form_load();

public slots:
    void cmd_chk_click();
    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
};
