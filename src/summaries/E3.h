#pragma once
#include "summaries/SummaryWindow.h"

// Per-item summary ("Form1"): the rentals of each item within the period
// and in the 60 days before it, a subtotal row per category. The category,
// the search field and the search text are offered but do not narrow the
// list: every item rented in either window is listed.
class E3 : public SummaryWindow {
    Q_OBJECT
public:
    explicit E3(QWidget* parent = nullptr);

protected:
    Query list_query() const override;
    int fill_grid(const Query& q) override;
    void set_col_width() override;
    bool event(QEvent* e) override;
};
