#pragma once
#include "intake/LoadWindow.h"

// Item load: a workbook of items inserted or updated by barcode, with the
// categories they name created where missing.
class A7 : public LoadWindow {
    Q_OBJECT
public:
    explicit A7(QWidget* parent = nullptr);
};
