#pragma once
#include "registers/pop_cst.h"

// Item picker: the items of the caller's query with their state; an item
// that fits the caller (in stock for a rental, out for a return) goes as a
// barcode into the caller's t_p_cod, then the caller's pdt_chk runs.
class pop_pdt : public PickerDialog {
    Q_OBJECT
public:
    explicit pop_pdt(QWidget* parent = nullptr);

public slots:
    void ms_list() override;

protected:
    void set_col_width() override;
    void choose() override;
};
