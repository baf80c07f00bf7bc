#pragma once
#include "intake/LoadWindow.h"

// Item load: a workbook of items inserted or updated by barcode, with the
// categories they name created where missing.
class A7 : public LoadWindow {
    Q_OBJECT
public:
    explicit A7(QWidget* parent = nullptr);

protected:
    std::array<Column, k_load_cols> columns() const override;
    bool check_cells(LoadCells& cells) const override;
    int key_col() const override { return 3; }
    QString duplicate_text(const QString& key) const override;
    QString ask_text() const override;
    QString done_text() const override;
    QString failed_text() const override;
    bool save(const LoadProgress& progress) override;
};
