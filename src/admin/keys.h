#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLineEdit;

// Enter moves the focus from box to box along the links; Enter on a linked
// button presses it.
class EnterChain : public QObject {
    Q_OBJECT
public:
    explicit EnterChain(QObject* parent) : QObject(parent) {}
    void link(QWidget* from, QWidget* to);
    void link_all(std::initializer_list<QWidget*> order);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QHash<QObject*, QPointer<QWidget>> next_;
};

// The search box of a list window: Enter runs the search, a double click
// empties the box.
void wire_search_box(QLineEdit* t_ser, std::function<void()> find);
