#include "ui/controls.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace {
bool is_enter(QEvent* e)
{
    if (e->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

class EnterPresses : public QObject {
public:
    explicit EnterPresses(QAbstractButton* b) : QObject(b), b_(b) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (!is_enter(e)) return false;
        b_->click();
        return true;
    }

private:
    QAbstractButton* b_;
};
}

QDateEdit* date_picker(QWidget* parent, const char* name)
{
    auto* d = named<QDateEdit>(name, parent);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

QPushButton* plain_button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = named<QPushButton>(name, caption, parent);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QPushButton* plain_button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                          int height)
{
    QPushButton* b = plain_button(parent, name, caption);
    tw_place(b, left, top, width, height);
    return b;
}

QPushButton* picture_button(QWidget* parent, const char* name, QStyle::StandardPixmap pic)
{
    QPushButton* b = plain_button(parent, name);
    b->setIcon(parent->style()->standardIcon(pic));
    return b;
}

QButtonGroup* option_group(std::initializer_list<QAbstractButton*> buttons)
{
    if (buttons.size() == 0) return nullptr;
    auto* group = new QButtonGroup((*buttons.begin())->parentWidget());
    group->setExclusive(true);
    for (QAbstractButton* b : buttons) group->addButton(b);
    return group;
}

void press_on_enter(QAbstractButton* b)
{
    if (b) b->installEventFilter(new EnterPresses(b));
}

void return_moves_focus(const QList<QWidget*>& order)
{
    for (int i = 0; i + 1 < order.size(); ++i) {
        auto* box = qobject_cast<QLineEdit*>(order[i]);
        QWidget* next = order[i + 1];
        if (box && next) QObject::connect(box, &QLineEdit::returnPressed, next, [next] { next->setFocus(); });
    }
}

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
    if (!is_enter(e)) return false;
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
        if (is_enter(e)) {
            find_();
            return true;
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

namespace {
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonDblClick) return false;
        f_();
        return true;
    }

private:
    std::function<void()> f_;
};
}

void on_double_click(QWidget* w, std::function<void()> f)
{
    if (w) w->installEventFilter(new DoubleClickFilter(w, std::move(f)));
}

bool choose_open_file(QWidget* parent, const QString& filter, const QString& last, const QString& folder,
                      QString* path)
{
    QFileDialog cd(parent);
    cd.setObjectName(QStringLiteral("cd"));
    cd.setOption(QFileDialog::DontUseNativeDialog);
    cd.setFileMode(QFileDialog::ExistingFile);
    cd.setAcceptMode(QFileDialog::AcceptOpen);
    cd.setNameFilter(filter);
    cd.setDirectory(last.isEmpty() ? folder : QFileInfo(last).absolutePath());
    if (cd.exec() != QDialog::Accepted) return false;
    *path = cd.selectedFiles().value(0);
    return true;
}

namespace {
class FrameLook : public QObject {
public:
    explicit FrameLook(QWidget* frame) : QObject(frame), frame_(frame)
    {
        watch(frame_);
        for (QWidget* w : frame_->findChildren<QWidget*>()) watch(w);
        apply_all(frame_);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::EnabledChange || !o->isWidgetType()) return false;
        // The frame's own change reaches it after its children's, which
        // it then covers; a control's own change is applied to it and below.
        const bool frame_off = frame_->testAttribute(Qt::WA_ForceDisabled);
        if (o == frame_) apply_all(frame_);
        else if (frame_off == masked_) apply_all(static_cast<QWidget*>(o));
        return false;
    }

private:
    void watch(QWidget* w)
    {
        w->installEventFilter(this);
        // A widget with a palette of its own gets it back.
        if (w->testAttribute(Qt::WA_SetPalette)) w->setProperty("own_palette", QVariant::fromValue(w->palette()));
    }

    void apply_all(QWidget* top)
    {
        masked_ = frame_->testAttribute(Qt::WA_ForceDisabled);
        apply(top);
        for (QWidget* w : top->findChildren<QWidget*>()) apply(w);
    }

    void apply(QWidget* w)
    {
        const QVariant own = w->property("own_palette");
        if (!masked_ && !own.isValid() && !w->testAttribute(Qt::WA_SetPalette)) return;
        QPalette pal = own.isValid() ? own.value<QPalette>() : QPalette();
        if (masked_) {
            // Disabled colours: the normal ones, unless the control is
            // disabled on its own (then the usual disabled ones, set here
            // so that it does not take the frame's).
            const QPalette normal = own.isValid() ? pal : QApplication::palette(w);
            const bool own_disabled = w != frame_ && !w->isEnabledTo(frame_);
            const QPalette::ColorGroup from = own_disabled ? QPalette::Disabled : QPalette::Active;
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = QPalette::ColorRole(r);
                if (role == QPalette::NoRole) continue;
                pal.setBrush(QPalette::Disabled, role, normal.brush(from, role));
            }
        }
        w->setPalette(pal);
    }

    QWidget* frame_;
    bool masked_ = false;   // the frame's contents keep their look
};
}

void keep_look_when_disabled(QWidget* frame)
{
    if (frame) new FrameLook(frame);
}
