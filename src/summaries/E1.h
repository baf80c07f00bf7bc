#pragma once
#include "summaries/SummaryWindow.h"

// "정회원별거래집계": per regular member who joined in the chosen months, the
// latest annual period, the fees left unpaid before the months, the late
// fees charged and paid within them and the open balance with the annual fee.
class E1 : public SummaryWindow {
    Q_OBJECT
public:
    explicit E1(QWidget* parent = nullptr);

protected:
    Query list_query() const override;
    int fill_grid(const Query& q) override;
    void set_col_width() override;
};
