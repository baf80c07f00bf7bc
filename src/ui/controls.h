#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStyle>
#include <QWidget>
#include <functional>
#include <utility>

class QAbstractButton;
class QDateEdit;
class QButtonGroup;
class QLineEdit;
class QPushButton;

// A new control of type T with objectName `name`; the rest goes to T's
// constructor (caption, parent...).
template <class T, class... Args> T* named(const char* name, Args&&... args)
{
    auto* w = new T(std::forward<Args>(args)...);
    w->setObjectName(QLatin1String(name));
    return w;
}

// A push button named `name` that is never (auto)default, so Enter presses
// it only where a screen asks for it; placed in twips when a place is given.
QPushButton* plain_button(QWidget* parent, const char* name, const QString& caption = QString());
QPushButton* plain_button(QWidget* parent, const char* name, const QString& caption, int left, int top,
                          int width = 1215, int height = 420);
// A plain button that shows one of the style's standard pictures.
QPushButton* picture_button(QWidget* parent, const char* name, QStyle::StandardPixmap pic);

// A date picker named `name`: "yyyy-MM-dd" with a calendar popup.
QDateEdit* date_picker(QWidget* parent, const char* name);
// The option buttons of one choice made an exclusive group of their own:
// only they exclude each other, whatever other option buttons share their
// parent or lie below it.
QButtonGroup* option_group(std::initializer_list<QAbstractButton*> buttons);

// Enter on the focused button presses it.
void press_on_enter(QAbstractButton* b);

// Enter (returnPressed) in each box of the list moves the focus on to the
// widget after it; the last one only receives the focus.
void return_moves_focus(const QList<QWidget*>& order);

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

// A frame the screen disables (setEnabled(false)) blocks input but keeps the
// normal look of its contents, as disabled frames did on the desktop the
// screens were made for; a control disabled on its own inside it still
// looks disabled. Call once, after the frame's controls are made.
void keep_look_when_disabled(QWidget* frame);

// The search box of a list window: Enter runs the search, a double click
// empties the box.
void wire_search_box(QLineEdit* t_ser, std::function<void()> find);

// A double click on w runs f in place of w's own handling of it.
void on_double_click(QWidget* w, std::function<void()> f);

// The open-file dialog "cd" of the screens that read a file: Qt's own dialog
// for one existing file matching `filter`, opened in the folder of `last`
// (else in `folder`). False when cancelled; else *path holds the choice,
// which may be empty.
bool choose_open_file(QWidget* parent, const QString& filter, const QString& last, const QString& folder,
                      QString* path);
