#pragma once
#include "summaries/SummaryWindow.h"

// "비회원별거래집계": per non-member with rentals that count for the chosen
// days, the fees left unpaid before them, the rental and late fees charged
// and paid within them and the open balance.
class E2 : public SummaryWindow {
    Q_OBJECT
public:
    explicit E2(QWidget* parent = nullptr);

protected:
    Query list_query() const override;
    int fill_grid(const Query& q) override;
    void set_col_width() override;
};
