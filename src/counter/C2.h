#pragma once
#include "counter/C1.h"

// Return entry "품목반납등록하기": items back from one member, with the
// late fee of each.
class C2 : public CounterForm {
    Q_OBJECT
public:
    explicit C2(QWidget* parent = nullptr);
public slots:
    void pdt_chk() override;
    void t_p_cod_keydown() override;
    void cmd_add_click() override;
};
