#include "admin/keys.h"
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

void EnterChain::link(QWidget* from, QWidget* to)
{
    next_.insert(from, to);
    from->installEventFilter(this);
    if (auto* b = qobject_cast<QAbstractButton*>(to)) b->installEventFilter(this);
}

void EnterChain::link_all(std::initializer_list<QWidget*> order)
{
    QWidget* prev = nullptr;
    for (QWidget* w : order) {
        if (prev) link(prev, w);
        prev = w;
    }
}

bool EnterChain::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (auto* b = qobject_cast<QAbstractButton*>(o); b && !next_.contains(o)) {
        b->click();
        return true;
    }
    const QPointer<QWidget> to = next_.value(o);
    if (to) to->setFocus();
    return true;
}

namespace {
class SearchBoxFilter : public QObject {
public:
    SearchBoxFilter(QLineEdit* box, std::function<void()> find) : QObject(box), box_(box), find_(std::move(find)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonDblClick) {
            box_->clear();
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                find_();
                return true;
            }
        }
        return false;
    }

private:
    QLineEdit* box_;
    std::function<void()> find_;
};
}

void wire_search_box(QLineEdit* t_ser, std::function<void()> find)
{
    if (!t_ser) return;
    t_ser->installEventFilter(new SearchBoxFilter(t_ser, std::move(find)));
}
