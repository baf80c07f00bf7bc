#pragma once
#include <QObject>

class CA;

// The actions of the history window on its list: the filters, the detail
// columns, the payment hand-over, the extension, the ticks and the deletion.
// Lives as a child of its window.
class CA_actions : public QObject {
    Q_OBJECT
public:
    explicit CA_actions(CA* ca);

public slots:
    void Check1_click();
    void Check2_click();
    void Check3_click();
    void Check4_click();
    void Check5_click();
    void Check6_click();
    void ms_dblclick();
    void cmd_del_click();

private:
    void exclusive_filter(class QAbstractButton* clicked);
    CA* ca_;
};
