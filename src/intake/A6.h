#pragma once
#include "intake/LoadWindow.h"

// Member load: a workbook of members registered in one go, each new regular
// member with his first annual period.
class A6 : public LoadWindow {
    Q_OBJECT
public:
    explicit A6(QWidget* parent = nullptr);
};
