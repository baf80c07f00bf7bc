#pragma once
#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Adds items one after another, or edits one item. Kept across openings:
// `saved` survives, and every closing after a save reloads the item list.
class B4_add_edt : public QDialog {
    Q_OBJECT
public:
    explicit B4_add_edt(QWidget* parent = nullptr);

    QComboBox* t_gbn = nullptr;
    QLineEdit* t_cod = nullptr;
    std::array<QLineEdit*, 6> t_f_nam{};   // t_f1_nam .. t_f6_nam
    std::array<QLabel*, 6> la{};           // la1 .. la6
    QLineEdit* t_dan = nullptr;
    QLineEdit* t_yun = nullptr;
    QLineEdit* t_big = nullptr;
    QLabel* la_sta = nullptr;
    QLineEdit* t_chk = nullptr;      // mode "add" / "edt", hidden
    QLineEdit* t_tmp_gbn = nullptr;  // the edited item's category, hidden
    QPushButton* cmd_chk = nullptr;
    QPushButton* cmd_can = nullptr;
    int saved = 0;

    // Captions, barcode length and category list afresh, boxes empty; the
    // owner then sets the mode and, for an edit, the row's values.
    void form_load();
    // The barcode of the item under editing: shown whole and kept as the
    // key of the update.
    void set_edit_barcode(const QString& cod);

public slots:
    void cmd_chk_click();
    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QString edit_cod_;
};
