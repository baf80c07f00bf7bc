#pragma once
#include "counter/history.h"
#include "ui/ListWindow.h"

class QCheckBox;
class QDateEdit;
class QProgressBar;

// The rental history window "대여반납내역관리": the rentals of a date range,
// grouped by date with subtotals and a total row. Opens rental entry (C1)
// and return entry (C2). The check boxes' actions (filters, payment
// hand-over, extension), the ticks and the deletion are installed by
// install_history_actions() when the build has them.
class CA : public ListWindow {
    Q_OBJECT
public:
    explicit CA(QWidget* parent = nullptr);

    QDateEdit* t_date1 = nullptr;
    QDateEdit* t_date2 = nullptr;
    QComboBox* t_gbn = nullptr;
    QComboBox* t_chk = nullptr;
    QCheckBox* Check1 = nullptr;   // 품목정보상세보기
    QCheckBox* Check2 = nullptr;   // 선택자료결제처리
    QCheckBox* Check3 = nullptr;   // 연체된내역만
    QCheckBox* Check4 = nullptr;   // 미결제내역만
    QCheckBox* Check5 = nullptr;   // 선택자료연장처리
    QCheckBox* Check6 = nullptr;   // 미반납내역만
    QProgressBar* PB = nullptr;
    QLineEdit* Text1 = nullptr;

    // The query parameters the controls hold now (the search text as it stands).
    CaParams params() const;
    // The filter of the first ticked box of Check3, Check4, Check6.
    CaFilter filter() const;

public slots:
    void ms_list() override;
    void set_col_width();
    void clear_grid();
    void cmd_add_click();
    void cmd_edt_click();
    void cmd_fnd_click();
    void t_gbn_click();
    void ms_mousedown(Qt::MouseButton button, const QPoint& global_pos);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void place_checks();
    CaFill fill_;
};
