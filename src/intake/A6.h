#pragma once
#include "intake/LoadWindow.h"

// Member load: a workbook of members registered in one go, each new regular
// member with his first annual period.
class A6 : public LoadWindow {
    Q_OBJECT
public:
    explicit A6(QWidget* parent = nullptr);

protected:
    std::array<Column, k_load_cols> columns() const override;
    bool check_cells(LoadCells& cells) const override;
    int key_col() const override { return 7; }
    QString duplicate_text(const QString& key) const override;
    QString ask_text() const override;
    QString done_text() const override;
    QString failed_text() const override;
    bool save(const LoadProgress& progress) override;
};
